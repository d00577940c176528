#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"

#include "QZFramework/Utilities/Storage/Array.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

Array<signed char> Reply(int length, int index)
{
    Array<signed char> reply(length);
    if (length > 11)
    {
        *reply.GetPtrAt(11) = static_cast<signed char>(index);
    }
    return reply;
}

TEST(GlobalParameters, NamesComeInIndexOrder)
{
    const std::vector<std::string> expected = {
        "Global_Channel",     "XYPAD_VELOCITY", "XYPAD_FRACTION",  "XYPAD_REBOUND",
        "MACKIE_HUI_ENABLED", "KEY_OCTAVE",     "KEY_TRANSPOSE",   "KEY_SENSITIVITY",
        "PAD_OCTAVE",         "PAD_TRANSPOSE",  "PAD_SENSITIVITY", "CURVE_ACCELLERATION",
        "XY_SENSITIVITY",     "GLOBAL_PROGRAM", "GLOBAL_BANK_MSB", "GLOBAL_BANK_LSB"};
    const WideStringArray names = GetGlobalParameterNames();
    ASSERT_EQ(names.GetCount(), 16);
    for (std::int32_t i = 0; i < names.GetCount(); ++i)
    {
        EXPECT_EQ(Narrow(names.GetAt(i)), expected[static_cast<std::size_t>(i)]);
        EXPECT_EQ(GetGlobalParameterIndex(names, names.GetAt(i)), i);
        EXPECT_EQ(GetGlobalParameterIndex(names.GetAt(i)), i);
    }
}

TEST(GlobalParameters, IndexLookupIsCaseSensitive)
{
    const WideStringArray names = GetGlobalParameterNames();
    EXPECT_EQ(GetGlobalParameterIndex(names, u"GLOBAL_CHANNEL"), -1);
    EXPECT_EQ(GetGlobalParameterIndex(names, u""), -1);
    for (const char16_t* name : {u"GLOBAL_CHANNEL", u"", u"Global_Channel_", u"Global_Channe"})
    {
        EXPECT_EQ(GetGlobalParameterIndex(WideString(name)), -1);
    }
}

TEST(GlobalParameters, EachSettingAcceptsExactlyItsRange)
{
    const std::vector<std::pair<const char16_t*, std::pair<int, int>>> ranges = {
        {u"Global_Channel", {0, 16}},     {u"MACKIE_HUI_ENABLED", {0, 1}},
        {u"KEY_OCTAVE", {2, 9}},          {u"KEY_TRANSPOSE", {0, 24}},
        {u"KEY_SENSITIVITY", {0, 6}},     {u"PAD_OCTAVE", {0, 10}},
        {u"PAD_TRANSPOSE", {0, 25}},      {u"PAD_SENSITIVITY", {0, 9}},
        {u"CURVE_ACCELLERATION", {0, 3}}, {u"XY_SENSITIVITY", {0, 9}},
        {u"GLOBAL_PROGRAM", {0, 127}},    {u"GLOBAL_BANK_MSB", {0, 127}},
        {u"GLOBAL_BANK_LSB", {0, 127}}};
    for (const auto& [name, range] : ranges)
    {
        EXPECT_TRUE(IsGlobalParameterValueValid(name, range.first)) << Narrow(name);
        EXPECT_TRUE(IsGlobalParameterValueValid(name, range.second)) << Narrow(name);
        EXPECT_FALSE(IsGlobalParameterValueValid(name, range.first - 1)) << Narrow(name);
        EXPECT_FALSE(IsGlobalParameterValueValid(name, range.second + 1)) << Narrow(name);
    }
}

TEST(GlobalParameters, XyPadSettingsAndUnknownNamesAcceptNothing)
{
    for (const char16_t* name :
         {u"XYPAD_VELOCITY", u"XYPAD_FRACTION", u"XYPAD_REBOUND", u"Key_Octave", u""})
    {
        for (const int value : {0, 1, 5, 127})
        {
            EXPECT_FALSE(IsGlobalParameterValueValid(name, value)) << Narrow(name);
        }
    }
}

TEST(GlobalParameters, NameFromReplyNeedsThirteenBytesAndAnIndexInTheTable)
{
    EXPECT_EQ(Narrow(GetGlobalParameterNameFromReply(Reply(15, 5))), "KEY_OCTAVE");
    EXPECT_EQ(Narrow(GetGlobalParameterNameFromReply(Reply(13, 15))), "GLOBAL_BANK_LSB");
    EXPECT_TRUE(GetGlobalParameterNameFromReply(Reply(12, 5)).IsEmpty());
    EXPECT_TRUE(GetGlobalParameterNameFromReply(Reply(15, 16)).IsEmpty());
    EXPECT_TRUE(GetGlobalParameterNameFromReply(Reply(15, 0x90)).IsEmpty());
}

} // namespace
} // namespace QZ
