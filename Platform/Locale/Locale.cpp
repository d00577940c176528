#include "Platform/Locale/Locale.h"

#include <cstdlib>

namespace QZ::Locale
{
namespace
{

struct LanguageEntry
{
    std::string_view code;
    std::uint16_t primary;
};

// ISO 639-1 codes and their primary language numbers.
constexpr LanguageEntry kLanguages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14}, {"nn", 0x14}, {"pl", 0x15}, {"pt", 0x16},
    {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sv", 0x1D}, {"th", 0x1E},
    {"tr", 0x1F}, {"id", 0x21}, {"uk", 0x22}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26},
    {"lt", 0x27}, {"vi", 0x2A},
};

struct RegionEntry
{
    std::uint16_t primary;
    std::string_view region;
    std::uint16_t sublanguage;
};

// Regions whose sublanguage is not the language's default (1).
constexpr RegionEntry kRegions[] = {
    {0x04, "TW", 1},  {0x04, "CN", 2}, {0x04, "HK", 3}, {0x04, "SG", 4}, {0x07, "CH", 2},
    {0x07, "AT", 3},  {0x07, "LU", 4}, {0x09, "GB", 2}, {0x09, "AU", 3}, {0x09, "CA", 4},
    {0x09, "NZ", 5},  {0x09, "IE", 6}, {0x09, "ZA", 7}, {0x0A, "MX", 2}, {0x0A, "ES", 3},
    {0x0A, "AR", 11}, {0x0C, "BE", 2}, {0x0C, "CA", 3}, {0x0C, "CH", 4}, {0x0C, "LU", 5},
    {0x10, "CH", 2},  {0x13, "BE", 2}, {0x14, "NO", 1}, {0x16, "BR", 1}, {0x16, "PT", 2},
    {0x1D, "FI", 2},
};

constexpr std::uint16_t kDefaultSublanguage = 1;

std::uint16_t FindPrimary(std::string_view code)
{
    for (const LanguageEntry& entry : kLanguages)
    {
        if (entry.code == code)
        {
            return entry.primary;
        }
    }
    return 0;
}

std::uint16_t FindSublanguage(std::uint16_t primary, std::string_view region)
{
    for (const RegionEntry& entry : kRegions)
    {
        if (entry.primary == primary && entry.region == region)
        {
            return entry.sublanguage;
        }
    }
    return kDefaultSublanguage;
}

// The first of the variables that is set and not empty, as POSIX gives them precedence.
std::string_view FirstSet(std::initializer_list<const char*> names)
{
    for (const char* name : names)
    {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
        {
            return value;
        }
    }
    return {};
}

} // namespace

std::uint16_t LanguageFromLocaleName(std::string_view name)
{
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find('_');
    const std::uint16_t primary = FindPrimary(name.substr(0, separator));
    if (primary == 0)
    {
        return kEnglishUnitedStates;
    }
    const std::string_view region =
        separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
    return static_cast<std::uint16_t>(primary | FindSublanguage(primary, region) << 10);
}

std::uint16_t GetUserLanguage()
{
    return LanguageFromLocaleName(FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"}));
}

std::uint16_t GetSystemLanguage()
{
    return LanguageFromLocaleName(FirstSet({"LANG"}));
}

} // namespace QZ::Locale
