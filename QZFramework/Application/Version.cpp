#include "QZFramework/Application/Version.h"

#include "Platform/Locale/Locale.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Application/StartupMessages.h"
#include "QZFramework/ObjectBase/Exception.h"

#include <cstdio>
#include <string>

namespace QZ
{
namespace
{

constexpr std::uint16_t kEnglish = 0x09;

[[noreturn]] void ThrowVersionError(std::int32_t number)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    WideString text;
    GetErrorIdText(application != nullptr ? application->GetControlResources() : nullptr, text,
                   number);
    QZ_THROW_RUNTIME("QZ::Version::Version", text.ToNarrowString().GetString());
}

const VersionTranslation* FindPrimary(const VersionBlock& block, std::uint16_t primary)
{
    for (const VersionTranslation& translation : block.translations)
    {
        if (Locale::GetPrimaryLanguage(translation.language) == primary)
        {
            return &translation;
        }
    }
    return nullptr;
}

} // namespace

Version::Version()
    : Version(&GetProgramVersionBlock(), Locale::GetUserLanguage(), Locale::GetSystemLanguage())
{
}

Version::Version(const VersionBlock* block, std::uint16_t userLanguage,
                 std::uint16_t systemLanguage)
    : mBlock(block)
{
    if (mBlock == nullptr)
    {
        ThrowVersionError(kNoVersionBlock);
    }
    if (mBlock->translations.empty())
    {
        ThrowVersionError(kNoTranslationTable);
    }
    for (const std::uint16_t primary : {Locale::GetPrimaryLanguage(userLanguage),
                                        Locale::GetPrimaryLanguage(systemLanguage), kEnglish})
    {
        if ((mTranslation = FindPrimary(*mBlock, primary)) != nullptr)
        {
            return;
        }
    }
    mTranslation = &mBlock->translations.front();
}

WideString Version::GetStringFileInfo(std::string_view key) const
{
    char translation[9];
    std::snprintf(translation, sizeof(translation), "%04x%04x", mTranslation->language,
                  mTranslation->codePage);
    for (const VersionString& entry : mBlock->strings)
    {
        if (entry.translation == translation && entry.key == key)
        {
            return WideString(std::string(entry.value).c_str());
        }
    }
    return WideString();
}

} // namespace QZ
