#include "Platform/Locale/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace QZ::Locale;

TEST(Locale, LocaleNamesMapToLanguageIdentifiers)
{
    const struct
    {
        const char* name;
        std::uint16_t language;
    } cases[] = {
        {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809}, {"de_DE.UTF-8", 0x0407},
        {"de_CH.UTF-8", 0x0807}, {"de_AT@euro", 0x0C07},  {"fr_CA", 0x0C0C},
        {"pt_BR.UTF-8", 0x0416}, {"ja_JP.eucJP", 0x0411}, {"zh_CN.GB18030", 0x0804},
        {"de", 0x0407},          {"de_XX.UTF-8", 0x0407}, {"C", 0x0409},
        {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},     {"", 0x0409},
        {"xx_YY", 0x0409},       {"_US", 0x0409},         {"es_ES.UTF-8", 0x0C0A},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(LanguageFromLocaleName(c.name), c.language) << c.name;
    }
}

TEST(Locale, UserLanguageFollowsThePosixPrecedence)
{
    const struct
    {
        const char* all;
        const char* messages;
        const char* lang;
        std::uint16_t user;
        std::uint16_t system;
    } cases[] = {
        {"fr_FR.UTF-8", "de_DE.UTF-8", "it_IT.UTF-8", 0x040C, 0x0410},
        {nullptr, "de_CH.UTF-8", "it_IT.UTF-8", 0x0807, 0x0410},
        {"", "", "sv_FI.UTF-8", 0x081D, 0x081D},
        {nullptr, nullptr, nullptr, 0x0409, 0x0409},
    };
    for (const auto& c : cases)
    {
        const auto set = [](const char* name, const char* value)
        { value != nullptr ? setenv(name, value, 1) : unsetenv(name); };
        set("LC_ALL", c.all);
        set("LC_MESSAGES", c.messages);
        set("LANG", c.lang);
        EXPECT_EQ(GetUserLanguage(), c.user) << (c.lang ? c.lang : "unset");
        EXPECT_EQ(GetSystemLanguage(), c.system) << (c.lang ? c.lang : "unset");
    }
}
