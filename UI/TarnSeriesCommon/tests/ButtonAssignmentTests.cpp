#include "UI/TarnSeriesCommon/ButtonAssignment.h"
#include "UI/TarnSeriesCommon/tests/ByteLists.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace QZ
{
namespace
{

struct RoundTrip
{
    ButtonAssignmentBlock block;
    ButtonAssignment shown; // page, channel, number, low, high, second, third, choice
};

// Every message type, as the editor writes it, decodes to its page and fields and encodes back
// to the same bytes.
TEST(ButtonAssignment, EveryTypeRoundTrips)
{
    using P = ButtonPage;
    const std::vector<RoundTrip> cases{
        {BytesOf({0, 0, 7, 0, 3, 0, 0, 0, 0, 120}), {P::CCAbsolute, 0, 7, 3, 120, 0, 0, 0}},
        {BytesOf({2, 1, 18, 9, 10, 1, 0, 1, 0, 40}), {P::CCCycle, 2, 9, 10, 40, 0, 0, 0}},
        {BytesOf({2, 1, 18, 9, 10, 0, 20, 1, 0, 30}), {P::CCCycle, 2, 9, 10, 30, 20, 0, 1}},
        {BytesOf({2, 1, 18, 9, 10, 0, 20, 0, 25, 30}), {P::CCCycle, 2, 9, 10, 30, 20, 25, 2}},
        {BytesOf({3, 1, 26, 11, 5, 1, 0, 1, 0, 99}), {P::CCIncDec, 3, 11, 5, 99, 0, 0, 0}},
        {BytesOf({3, 1, 25, 11, 5, 1, 0, 1, 0, 99}), {P::CCIncDec, 3, 11, 5, 99, 0, 0, 1}},
        {BytesOf({16, 1, 17, 42, 1, 0, 0, 0, 0, 2}), {P::Program, 16, 42, 1, 2, 0, 0, 0}},
        {BytesOf({17, 1, 29, 0, 4, 0, 6, 0, 8, 9}), {P::ProgramCycle, 17, 0, 4, 9, 6, 8, 2}},
        {BytesOf({20, 1, 28, 0, 4, 1, 0, 1, 0, 9}), {P::ProgramIncDec, 20, 0, 4, 9, 0, 0, 0}},
        {BytesOf({20, 1, 27, 0, 4, 1, 0, 1, 0, 9}), {P::ProgramIncDec, 20, 0, 4, 9, 0, 0, 1}},
        {BytesOf({0, 1, 19, 60, 0, 0, 0, 0, 0, 127}), {P::Note, 0, 60, 0, 127, 0, 0, 0}},
        {BytesOf({0, 1, 20, 61, 1, 0, 0, 0, 0, 126}), {P::Note, 0, 61, 1, 126, 0, 0, 1}},
        {BytesOf({0, 1, 21, 0, 3, 0, 0, 0, 0, 0}), {P::MMC, 0, 0, 3, 0, 0, 0, 2}},
        {BytesOf({0, 1, 21, 0, 13, 0, 0, 0, 0, 0}), {P::MMC, 0, 0, 13, 0, 0, 0, 11}},
        {BytesOf({1, 1, 5, 64, 2, 0, 0, 0, 0, 1}), {P::NrpnRpn, 1, 64, 2, 1, 0, 0, 1}},
        {BytesOf({1, 1, 7, 64, 2, 0, 0, 0, 0, 1}), {P::NrpnRpn, 1, 64, 2, 1, 0, 0, 3}},
        {BytesOf({1, 1, 3, 0, 50, 0, 0, 0, 0, 0}), {P::Other, 1, 0, 50, 0, 0, 0, 3}},
        {BytesOf({1, 1, 8, 0, 50, 0, 0, 0, 0, 0}), {P::Other, 1, 0, 50, 0, 0, 0, 4}},
        {BytesOf({1, 1, 16, 0, 50, 0, 0, 0, 0, 0}), {P::Other, 1, 0, 50, 0, 0, 0, 12}},
        {BytesOf({1, 1, 22, 0, 50, 0, 0, 0, 0, 0}), {P::Other, 1, 0, 50, 0, 0, 0, 13}},
        {BytesOf({1, 1, 24, 0, 50, 0, 0, 0, 0, 0}), {P::Other, 1, 0, 50, 0, 0, 0, 15}},
    };
    for (const RoundTrip& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(IntsOf(c.block)));
        const ButtonAssignment shown = DecodeButtonAssignment(c.block);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(IntsOf(EncodeButtonAssignment(shown, ButtonAssignmentBlock())), IntsOf(c.block));
    }
}

// Blocks the editor does not write itself show as the page the bytes decide, and after an edit
// are stored the way that page writes them.
TEST(ButtonAssignment, ForeignBlocksAreStoredAsTheirPageWritesThem)
{
    struct Case
    {
        ButtonAssignmentBlock block;
        ButtonPage page;
        std::vector<int> stored;
    };
    const std::vector<Case> cases{
        // a1 = 0 is CC absolute whatever a2 holds.
        {BytesOf({0, 0, 18, 5, 1, 1, 1, 1, 1, 2}),
         ButtonPage::CCAbsolute,
         {0, 0, 18, 0, 1, 0, 0, 0, 0, 2}},
        // An inc/dec with a flag at 0 is a 3-value cycle.
        {BytesOf({0, 1, 26, 5, 1, 0, 7, 1, 0, 9}),
         ButtonPage::CCCycle,
         {0, 1, 18, 5, 1, 0, 7, 1, 0, 9}},
        {BytesOf({0, 1, 27, 5, 1, 0, 7, 0, 8, 9}),
         ButtonPage::ProgramCycle,
         {0, 1, 29, 0, 1, 0, 7, 0, 8, 9}},
        // Hidden cycle values and unused bytes are written as 0.
        {BytesOf({0, 1, 18, 5, 1, 1, 7, 1, 8, 9}),
         ButtonPage::CCCycle,
         {0, 1, 18, 5, 1, 1, 0, 1, 0, 9}},
        {BytesOf({0, 1, 4, 5, 1, 1, 7, 1, 8, 9}),
         ButtonPage::NrpnRpn,
         {0, 1, 4, 5, 1, 0, 0, 0, 0, 9}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(IntsOf(c.block)));
        const ButtonAssignment shown = DecodeButtonAssignment(c.block);
        EXPECT_EQ(shown.page, c.page);
        EXPECT_EQ(IntsOf(EncodeButtonAssignment(shown, c.block)), c.stored);
    }
}

// Channels, "other" types and MMC commands that the lists cannot show decode to -1 (or "Other")
// and keep their stored byte when another field is edited; with no stored block of that page
// they fall back to the list's first entry, never to 0xFF.
TEST(ButtonAssignment, UnshowableBytesKeepTheirStoredValue)
{
    struct Case
    {
        ButtonAssignmentBlock block;
        std::int32_t channel;
        std::int32_t choice;
        std::vector<int> afterEdit; // low raised by one
    };
    const std::vector<Case> cases{
        {BytesOf({21, 1, 19, 60, 0, 0, 0, 0, 0, 127}), -1, 0, {21, 1, 19, 60, 1, 0, 0, 0, 0, 127}},
        {BytesOf({-1, 1, 19, 60, 0, 0, 0, 0, 0, 127}), -1, 0, {-1, 1, 19, 60, 1, 0, 0, 0, 0, 127}},
        {BytesOf({0, 1, 30, 0, 5, 0, 0, 0, 0, 0}), 0, -1, {0, 1, 30, 0, 6, 0, 0, 0, 0, 0}},
        {BytesOf({0, 1, -3, 0, 5, 0, 0, 0, 0, 0}), 0, -1, {0, 1, -3, 0, 6, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(IntsOf(c.block)));
        ButtonAssignment shown = DecodeButtonAssignment(c.block);
        EXPECT_EQ(shown.channel, c.channel);
        EXPECT_EQ(shown.choice, c.choice);
        ++shown.low;
        EXPECT_EQ(IntsOf(EncodeButtonAssignment(shown, c.block)), c.afterEdit);
    }

    // MMC commands 0, 12 and 14 show "Other" and keep their number; "Other" chosen with no
    // stored MMC block writes command 1 (Stop).
    for (const int command : {0, 12, 14})
    {
        const ButtonAssignmentBlock block = BytesOf({0, 1, 21, 0, command, 0, 0, 0, 0, 0});
        const ButtonAssignment shown = DecodeButtonAssignment(block);
        EXPECT_EQ(shown.choice, 12);
        EXPECT_EQ(EncodeButtonAssignment(shown, block).GetAt(4), command);
    }
    ButtonAssignment other{ButtonPage::Other, -1, 0, 0, 0, 0, 0, -1};
    EXPECT_EQ(IntsOf(EncodeButtonAssignment(other, BytesOf({0, 1, 21, 0, 12, 0, 0, 0, 0, 0}))),
              (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    ButtonAssignment mmc{ButtonPage::MMC, 0, 0, 0, 0, 0, 0, -1};
    EXPECT_EQ(EncodeButtonAssignment(mmc, ButtonAssignmentBlock()).GetAt(4), 1);
}

TEST(ButtonAssignment, ValueSplitsAndJoinsAroundColoursAndKeys)
{
    const ButtonValueBytes value{0, 4, 3, 7, 5, 1, 0x13, 9, 0, 0, 0, 0, 0, 0x7F, 2, 0x57, 28};
    const ButtonAssignmentBlock block = SplitButtonBlock(value);
    EXPECT_EQ(IntsOf(block), (std::vector<int>{0, 1, 0x13, 9, 0, 0, 0, 0, 0, 0x7F}));

    ButtonValueBytes joined = value;
    EXPECT_TRUE(JoinButtonBlock(joined, BytesOf({5, 0, 7, 0, 1, 0, 0, 0, 0, 2})));
    EXPECT_EQ(joined, (ButtonValueBytes{5, 4, 3, 7, 5, 0, 7, 0, 1, 0, 0, 0, 0, 2, 2, 0x57, 28}));
    EXPECT_FALSE(JoinButtonBlock(joined, BytesOf({1, 1, 1, 1, 1, 1, 1, 1, 1})));
    EXPECT_EQ(joined[0], 5);

    const std::optional<ButtonValueBytes> read = ReadButtonValue(MakeButtonValue(value));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, value);
    Variant shortValue;
    ASSERT_EQ(shortValue.SetBytes(value.data(), 16), Variant::TagBytes);
    EXPECT_FALSE(ReadButtonValue(shortValue).has_value());
    Variant number;
    EXPECT_FALSE(ReadButtonValue(number).has_value());
}

TEST(ButtonAssignment, ListBytesNeverBecomeANoSelection)
{
    EXPECT_EQ(KeyIndexFromByte(0x57), 0);
    EXPECT_EQ(KeyIndexFromByte(0), 1);
    EXPECT_EQ(KeyIndexFromByte(85), 86);
    EXPECT_EQ(KeyIndexFromByte(86), -1);
    EXPECT_EQ(KeyByteFromIndex(0, 3), 0x57);
    EXPECT_EQ(KeyByteFromIndex(86, 3), 85);
    EXPECT_EQ(KeyByteFromIndex(-1, 3), 3);
    EXPECT_EQ(KeyByteFromIndex(87, 3), 3);

    EXPECT_EQ(ListIndexFromByte(7, kButtonColourListCount), 7);
    EXPECT_EQ(ListIndexFromByte(8, kButtonColourListCount), -1);
    EXPECT_EQ(ListIndexFromByte(0xFF, kChannelListCount), -1);
    EXPECT_EQ(ByteFromListIndex(-1, kButtonColourListCount, 9), 9);
    EXPECT_EQ(ByteFromListIndex(8, kButtonColourListCount, 9), 9);
    EXPECT_EQ(ByteFromListIndex(20, kChannelListCount, 9), 20);

    for (std::int32_t i = 0; i < kButtonPageCount; ++i)
    {
        const auto page = static_cast<ButtonPage>(i);
        EXPECT_EQ(FindButtonPage(GetButtonPageName(page)), page);
    }
    EXPECT_FALSE(FindButtonPage("midiPage").has_value());
}

} // namespace
} // namespace QZ
