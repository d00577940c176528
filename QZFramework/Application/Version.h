// The texts of a version block in the user's language: the company name, the product name, the
// product version and any other key ("LegalCopyright" for the About box).
//
// The translation is chosen once, at construction: the first whose primary language is the
// user's, else the session's, else English, else the first of the block. A Version is a short-
// lived local: build one, ask it, let it go.
#pragma once

#include "Platform/Version/VersionBlock.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <string_view>

namespace QZ
{

class Version
{
public:
    // The error numbers of a block that cannot be used.
    static constexpr std::int32_t kNoTranslationTable = 900;
    static constexpr std::int32_t kNoVersionBlock = 902;

    // The program's own block, for the user's and the session's languages.
    Version();
    // Throws a runtime error worded by GetErrorIdText: kNoVersionBlock for a null block,
    // kNoTranslationTable for a block without translations.
    Version(const VersionBlock* block, std::uint16_t userLanguage, std::uint16_t systemLanguage);

    // The key's text in the chosen translation; empty when it has none.
    [[nodiscard]] WideString GetStringFileInfo(std::string_view key) const;
    [[nodiscard]] WideString GetCompanyName() const { return GetStringFileInfo("CompanyName"); }
    [[nodiscard]] WideString GetProductName() const { return GetStringFileInfo("ProductName"); }
    [[nodiscard]] WideString GetProductVersion() const
    {
        return GetStringFileInfo("ProductVersion");
    }
    [[nodiscard]] const VersionTranslation& GetTranslation() const { return *mTranslation; }

private:
    const VersionBlock* mBlock;
    const VersionTranslation* mTranslation = nullptr;
};

} // namespace QZ
