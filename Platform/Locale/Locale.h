// The user's language as the numbered language identifiers the string tables and the version
// block use: the primary language in the low 10 bits, the region's sublanguage above them
// (English 0x09, United States 0x0409; German 0x07, Switzerland 0x0807).
//
// The language comes from the POSIX locale variables in their order of precedence; the "C" and
// "POSIX" locales, an unset environment and a language without an identifier here all count as
// United States English, the language the program's texts are written in.
#pragma once

#include <cstdint>
#include <string_view>

namespace QZ::Locale
{

inline constexpr std::uint16_t kEnglishUnitedStates = 0x0409;
inline constexpr std::uint16_t kPrimaryLanguageMask = 0x03FF;

// The identifier of a locale name such as "de_CH.UTF-8@euro" (language, optional region,
// encoding and modifier ignored).
[[nodiscard]] std::uint16_t LanguageFromLocaleName(std::string_view name);

// The language the user reads messages in: LC_ALL, else LC_MESSAGES, else LANG.
[[nodiscard]] std::uint16_t GetUserLanguage();
// The language of the session as a whole: LANG.
[[nodiscard]] std::uint16_t GetSystemLanguage();

[[nodiscard]] constexpr std::uint16_t GetPrimaryLanguage(std::uint16_t language)
{
    return language & kPrimaryLanguageMask;
}

} // namespace QZ::Locale
