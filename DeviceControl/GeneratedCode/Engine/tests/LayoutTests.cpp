#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ValueLayout.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ValueTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{

TEST(ValueSizeTable, GivesEachRunItsFixedSize)
{
    struct Run
    {
        std::int32_t first;
        std::int32_t last;
        std::uint32_t size;
    };
    const Run runs[] = {{0, 0, 6},   {1, 4, 9},    {5, 6, 5},   {7, 7, 6},    {8, 8, 6},
                        {9, 24, 14}, {25, 60, 17}, {61, 96, 6}, {97, 128, 6}, {129, 130, 15}};
    for (const Run& run : runs)
    {
        for (std::int32_t n = run.first; n <= run.last; ++n)
        {
            EXPECT_EQ(GetPresetParamValueSize(n), run.size) << n;
        }
    }
}

TEST(ValueSizeTable, NamesNoParameterOutsideThePreset)
{
    for (std::int32_t n : {-1, 131, -2147483647 - 1, 2147483647})
    {
        EXPECT_EQ(GetPresetParamValueSize(n), 0u) << n;
        EXPECT_FALSE(IsPresetParamNumber(n));
        EXPECT_EQ(FindControlTypeLayout(n), nullptr);
    }
    EXPECT_EQ(GetPresetParamValueSize(2147483647, -2147483647 - 1), 0u);
    EXPECT_EQ(GetPresetParamValueSize(-2147483647 - 1, 2147483647), 0u);
    EXPECT_EQ(GetPresetParamValueSize(1129, 1000), 15u);
}

TEST(ValueSizeTable, CompositeIdentifiersSpanMinus256ToMinus129)
{
    EXPECT_TRUE(IsCompositeParamID(-256));
    EXPECT_TRUE(IsCompositeParamID(-129));
    EXPECT_FALSE(IsCompositeParamID(-257));
    EXPECT_FALSE(IsCompositeParamID(-128));
}

TEST(ValueLayouts, ButtonAssignmentSitsInBytes0And5To13)
{
    EXPECT_EQ(kButtonAssignmentToValueByte[ButtonAssignmentByte::kChannel], 0u);
    EXPECT_EQ(kButtonAssignmentToValueByte[ButtonAssignmentByte::kMessageKind], 5u);
    EXPECT_EQ(kButtonAssignmentToValueByte[ButtonAssignmentByte::kHigh], 13u);
    EXPECT_EQ(kSustainPedalToPushButtonByte[5], 9u);
    EXPECT_EQ(kWheelToMoveableByte[WheelByte::kLow], std::size_t{MoveableByte::kLow});
}

TEST(ValueLayouts, TouchPadNotesRunFirstMiddleLast)
{
    // A four-note block 04 3C 43 40 41 holds 60, 64, 65, 67 in that order.
    const std::uint8_t value[15] = {0, 0, 0, 0, 0, 0, 0x04, 0x3C, 0x43, 0x40, 0x41, 0, 0, 0, 0};
    std::vector<std::uint8_t> notes;
    for (std::size_t note = 0; note < value[TouchPadAxisByte::kNoteCount]; ++note)
    {
        notes.push_back(value[GetTouchPadNoteByte(note, value[TouchPadAxisByte::kNoteCount])]);
    }
    EXPECT_EQ(notes, (std::vector<std::uint8_t>{60, 64, 65, 67}));
    EXPECT_EQ(GetTouchPadNoteByte(1, 2), std::size_t{TouchPadAxisByte::kLastNote});
}

TEST(ValueLayouts, CycleLengthFollowsTheTwoFlags)
{
    EXPECT_EQ(GetCycleLength(1, 1), 2u);
    EXPECT_EQ(GetCycleLength(0, 1), 3u);
    EXPECT_EQ(GetCycleLength(0, 0), 4u);
    EXPECT_EQ(GetCycleLength(1, 0), 4u);
    EXPECT_EQ(GetCycleLength(2, 1), 4u);
}

TEST(ValueTables, KeyNamesFollowTheKeyNumbers)
{
    EXPECT_EQ(GetKeyName(0), "0");
    EXPECT_EQ(GetKeyName(9), "9");
    EXPECT_EQ(GetKeyName(10), "A");
    EXPECT_EQ(GetKeyName(35), "Z");
    EXPECT_EQ(GetKeyName(36), "Space");
    EXPECT_EQ(GetKeyName(37), "F1");
    EXPECT_EQ(GetKeyName(48), "F12");
    EXPECT_EQ(GetKeyName(49), "Back Space");
    EXPECT_EQ(GetKeyName(61), "\\");
    EXPECT_EQ(GetKeyName(69), "Esc");
    EXPECT_EQ(GetKeyName(75), "Page Down");
    EXPECT_EQ(GetKeyName(76), "Num 1");
    EXPECT_EQ(GetKeyName(84), "Num 9");
    EXPECT_EQ(GetKeyName(85), "Num 0");
    EXPECT_EQ(GetKeyName(86), "");
    EXPECT_EQ(GetKeyName(kNoKey), "");
    EXPECT_EQ(kNoKey, 87);
}

TEST(ValueTables, ModifiersColoursAndMMCCommands)
{
    EXPECT_EQ(GetModifierName(0), "None");
    EXPECT_EQ(GetModifierName(13), "Ctrl + Win + Alt (Windows)");
    EXPECT_EQ(GetModifierName(14), "Shift (Mac)");
    EXPECT_EQ(GetModifierName(23), GetModifierName(24));
    EXPECT_EQ(GetModifierName(28), "Ctrl + Cmd + Option (Mac)");
    EXPECT_EQ(GetModifierName(29), "");

    EXPECT_EQ(GetPadColourName(4), "Cyan");
    EXPECT_EQ(GetPadColourName(13), "White");
    EXPECT_EQ(GetPadColourName(14), "");
    EXPECT_EQ(GetButtonColourName(4), "Magenta");
    EXPECT_EQ(GetButtonColourName(8), "");

    EXPECT_EQ(GetMMCCommandName(1), "Stop");
    EXPECT_EQ(GetMMCCommandName(11), "Chase");
    EXPECT_EQ(GetMMCCommandName(13), "MMC Reset");
    for (std::uint8_t other : {0, 12, 14, 255})
    {
        EXPECT_EQ(GetMMCCommandName(other), "Other") << int{other};
    }
}

TEST(ValueTables, OtherTypeListsSkipTheParameterNumberTypes)
{
    for (std::size_t position = 0; position < kMoveableOtherTypeOrder.size(); ++position)
    {
        const std::uint8_t type = kMoveableOtherTypeOrder[position];
        EXPECT_FALSE(IsRPNOrNRPNType(type));
        EXPECT_EQ(position, type < 4 ? type : type - 4u);
    }
    EXPECT_EQ(kButtonOtherTypeOrder[12], static_cast<std::uint8_t>(ButtonMessageType::PitchBend));
    EXPECT_EQ(kButtonOtherTypeOrder[13],
              static_cast<std::uint8_t>(ButtonMessageType::ReverbTypeSysEx));
    EXPECT_EQ(static_cast<int>(MoveableMessageType::ReverbTypeSysEx), 17);
    EXPECT_EQ(static_cast<int>(ButtonMessageType::ProgramChange), 17);
}

} // namespace
