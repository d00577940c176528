// The program's version information: translations, each a language and a code page, and for
// each translation a table of named texts ("CompanyName", "ProductName", "ProductVersion",
// "LegalCopyright" and the like). The program's own block is compiled in by CMake from the
// project's name, version and maker.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace QZ
{

struct VersionTranslation
{
    std::uint16_t language;
    std::uint16_t codePage;
};

struct VersionString
{
    // The translation's language and code page as eight lower-case hexadecimal digits,
    // "040904b0" for United States English in UTF-16.
    std::string_view translation;
    std::string_view key;
    // UTF-8.
    std::string_view value;
};

struct VersionBlock
{
    std::span<const VersionTranslation> translations;
    std::span<const VersionString> strings;
};

// The program's own block; it lives as long as the program.
[[nodiscard]] const VersionBlock& GetProgramVersionBlock();

} // namespace QZ
