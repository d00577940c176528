#include "Engine/RededoVuvuvaCommon/SysExMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<int>;

Bytes BytesOf(const IArray<signed char>& message)
{
    Bytes bytes;
    for (std::int32_t i = 0; i < message.GetCount(); ++i)
    {
        bytes.push_back(static_cast<std::uint8_t>(*message.GetItemPtr(i)));
    }
    return bytes;
}

SysExMessage MessageOf(const Bytes& bytes)
{
    SysExMessage message;
    for (const int byte : bytes)
    {
        message.Add(static_cast<signed char>(byte));
    }
    return message;
}

// A well-formed reply of the given length and command: device header, command, zero bytes, F7.
SysExMessage DeviceReply(std::size_t length, int command)
{
    Bytes bytes(length, 0);
    const Bytes header = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06};
    std::copy(header.begin(), header.end(), bytes.begin());
    bytes[7] = command;
    bytes.back() = 0xF7;
    return MessageOf(bytes);
}

SysExMessage IdentityReply(const Bytes& version)
{
    Bytes bytes = {0xF0, 0x7E, 0x00, 0x06, 0x02, 0x00, 0x3C, 0x1D, 0x31, 0x06};
    bytes.insert(bytes.end(), version.begin(), version.end());
    bytes.push_back(0xF7);
    return MessageOf(bytes);
}

TEST(SysExBuilders, PreambleIsTheHeaderWithoutF0And6D000101)
{
    EXPECT_EQ(BytesOf(BuildPreambleMessage()),
              (Bytes{0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6D, 0x00, 0x01, 0x01}));
}

TEST(SysExBuilders, GetPresetCarriesTheSlot)
{
    SysExMessage message;
    ASSERT_EQ(BuildGetPresetMessage(5, message), S_OK);
    EXPECT_EQ(BytesOf(message), (Bytes{0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x62, 0x05}));
    ASSERT_EQ(BuildGetPresetMessage(12, message), S_OK);
    EXPECT_EQ(BytesOf(message).back(), 0x0C);
}

TEST(SysExBuilders, SlotOutsideTheKeyboardsIsRefused)
{
    SysExMessage message = MessageOf({1, 2, 3});
    EXPECT_EQ(BuildGetPresetMessage(13, message), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
    EXPECT_EQ(BuildGetPresetMessage(0x80, message), E_FAIL);
    EXPECT_EQ(BuildSendPresetHeader(13, message), E_FAIL);
    EXPECT_EQ(BuildSendPresetMessage(200, message), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
}

TEST(SysExBuilders, SendPresetHeadIs610A3BAndSlot)
{
    SysExMessage message;
    ASSERT_EQ(BuildSendPresetHeader(0, message), S_OK);
    EXPECT_EQ(BytesOf(message),
              (Bytes{0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x00}));
}

TEST(SysExBuilders, SendPresetBodyIsZeroFilledAfterItsHead)
{
    SysExMessage message;
    ASSERT_EQ(BuildSendPresetMessage(7, message), S_OK);
    const Bytes bytes = BytesOf(message);
    ASSERT_EQ(bytes.size(), 1348u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10),
              (Bytes{0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x07}));
    EXPECT_EQ(Bytes(bytes.begin() + 10, bytes.end()), Bytes(1338, 0));
}

TEST(SysExBuilders, PresetValuesFollowOneAnotherAndTheLastIsCutAtTheEnd)
{
    SysExMessage message;
    ASSERT_EQ(BuildSendPresetMessage(1, message), S_OK);
    std::int32_t position = kSendPresetValueOffset;
    const signed char first[] = {1, 2, 3};
    const signed char second[] = {4, 5};
    ASSERT_EQ(PutPresetValue(message, position, first, 3), S_OK);
    ASSERT_EQ(PutPresetValue(message, position, second, 2), S_OK);
    EXPECT_EQ(position, 15);
    Bytes bytes = BytesOf(message);
    EXPECT_EQ(Bytes(bytes.begin() + 9, bytes.begin() + 16), (Bytes{1, 1, 2, 3, 4, 5, 0}));

    position = 1346;
    ASSERT_EQ(PutPresetValue(message, position, first, 3), S_OK);
    EXPECT_EQ(position, 1348);
    bytes = BytesOf(message);
    EXPECT_EQ(bytes.size(), 1348u);
    EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), (Bytes{1, 2}));
}

TEST(SysExBuilders, PresetValueWithStatusByteIsRefusedWithNothingWritten)
{
    SysExMessage message;
    ASSERT_EQ(BuildSendPresetMessage(1, message), S_OK);
    std::int32_t position = kSendPresetValueOffset;
    const signed char value[] = {1, static_cast<signed char>(0xF7), 3};
    EXPECT_EQ(PutPresetValue(message, position, value, 3), E_FAIL);
    EXPECT_EQ(position, kSendPresetValueOffset);
    EXPECT_EQ(BytesOf(message)[10], 0);
}

TEST(SysExBuilders, PresetValueNeedsASendPresetBodyAndAPositionInItsValueArea)
{
    const signed char value[] = {1};
    SysExMessage message;
    std::int32_t position = kSendPresetValueOffset;
    EXPECT_EQ(PutPresetValue(message, position, value, 1), E_FAIL);
    ASSERT_EQ(BuildSendPresetMessage(1, message), S_OK);
    position = 9;
    EXPECT_EQ(PutPresetValue(message, position, value, 1), E_FAIL);
    position = 1349;
    EXPECT_EQ(PutPresetValue(message, position, value, 1), E_FAIL);
    position = 1348;
    EXPECT_EQ(PutPresetValue(message, position, value, 1), S_OK);
    EXPECT_EQ(position, 1348);
}

TEST(SysExBuilders, SysExHeaderReplacesWhatTheArrayHeld)
{
    SysExMessage message = MessageOf({9, 9});
    ASSERT_EQ(BuildSysExHeader(message), S_OK);
    EXPECT_EQ(BytesOf(message), (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06}));
}

TEST(SysExBuilders, SetGlobalParameterCarriesIndexAndTwoSevenBitBytes)
{
    SysExMessage message;
    ASSERT_EQ(BuildGlobalParameterMessage(u"Global_Channel", 16, message), S_OK);
    EXPECT_EQ(BytesOf(message), (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6A, 0x00, 0x04,
                                       0x00, 0x00, 0x00, 0x10, 0xF7}));
    ASSERT_EQ(BuildGlobalParameterMessage(u"GLOBAL_BANK_LSB", 127, message), S_OK);
    EXPECT_EQ(BytesOf(message), (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6A, 0x00, 0x04,
                                       0x00, 0x0F, 0x00, 0x7F, 0xF7}));
}

TEST(SysExBuilders, RefusedGlobalValueLeavesNoMessage)
{
    SysExMessage message;
    EXPECT_EQ(BuildGlobalParameterMessage(u"Global_Channel", 17, message), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
    EXPECT_EQ(BuildGlobalParameterMessage(u"XYPAD_VELOCITY", 0, message), E_FAIL);
    EXPECT_EQ(BuildGlobalParameterMessage(u"KEY_OCTAVE", -1, message), E_FAIL);
    EXPECT_EQ(BuildGlobalParameterMessage(u"No_Such", 0, message), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
}

TEST(SysExBuilders, GlobalRequestCarriesIndexWithoutF7)
{
    SysExMessage message;
    ASSERT_EQ(BuildGlobalParameterRequest(message, u"KEY_OCTAVE"), S_OK);
    EXPECT_EQ(BytesOf(message),
              (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6B, 0x00, 0x02, 0x00, 0x05}));
}

TEST(SysExBuilders, GlobalRequestForUnknownNameIsRefused)
{
    SysExMessage message;
    EXPECT_EQ(BuildGlobalParameterRequest(message, u"key_octave"), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
}

TEST(SysExBuilders, IdentityRequestIsTheUniversalSixBytes)
{
    EXPECT_EQ(BytesOf(BuildIdentityRequest()), (Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));
}

TEST(SysExBuilders, FixedArrayTooSmallForTheSetMessageIsLeftEmpty)
{
    IdentityRequestMessage message;
    EXPECT_EQ(BuildGlobalParameterMessage(u"KEY_OCTAVE", 5, message), E_FAIL);
    EXPECT_EQ(message.GetCount(), 0);
}

TEST(SysExReplies, HeaderTestNeedsAllSevenBytes)
{
    EXPECT_TRUE(IsSysExHeaderValid(MessageOf({0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06})));
    EXPECT_FALSE(IsSysExHeaderValid(MessageOf({0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31})));
    EXPECT_FALSE(IsSysExHeaderValid(MessageOf({0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x07})));
    EXPECT_FALSE(IsSysExHeaderValid(MessageOf({0xF0, 0x7E, 0x3C, 0x1D, 0x7F, 0x31, 0x06})));
}

TEST(SysExReplies, PresetDumpIsExactly1350BytesWith63)
{
    SysExMessage dump = DeviceReply(1350, 0x63);
    *dump.GetPtrAt(10) = 0x0C;
    EXPECT_TRUE(IsPresetDumpReply(dump));
    EXPECT_EQ(GetPresetDumpSlot(dump), 12);
    EXPECT_EQ(GetPresetDumpSlot(DeviceReply(1349, 0x63)), -1);
    EXPECT_FALSE(IsPresetDumpReply(DeviceReply(1349, 0x63)));
    EXPECT_FALSE(IsPresetDumpReply(DeviceReply(1351, 0x63)));
    EXPECT_FALSE(IsPresetDumpReply(DeviceReply(1350, 0x61)));
    SysExMessage noHeader = DeviceReply(1350, 0x63);
    *noHeader.GetPtrAt(6) = 0x07;
    EXPECT_FALSE(IsPresetDumpReply(noHeader));
}

TEST(SysExReplies, GlobalReplyReadsNameAndValue)
{
    SysExMessage reply = MessageOf(
        {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6C, 0x00, 0x04, 0x00, 0x05, 0x00, 0x07, 0xF7});
    EXPECT_TRUE(IsGlobalParameterReply(reply));
    EXPECT_EQ(GetGlobalParameterIndexFromReply(reply), 5);
    EXPECT_EQ(GetGlobalParameterValueFromReply(reply), 7);
    *reply.GetPtrAt(12) = 0x01;
    *reply.GetPtrAt(13) = 0x02;
    EXPECT_EQ(GetGlobalParameterValueFromReply(reply), 130);
    EXPECT_FALSE(IsGlobalParameterReply(DeviceReply(14, 0x6C)));
    EXPECT_FALSE(IsGlobalParameterReply(DeviceReply(16, 0x6C)));
    EXPECT_FALSE(IsGlobalParameterReply(DeviceReply(15, 0x6A)));
    EXPECT_EQ(GetGlobalParameterIndexFromReply(DeviceReply(16, 0x6C)), -1);
    EXPECT_EQ(GetGlobalParameterValueFromReply(DeviceReply(13, 0x6C)), 0);
}

TEST(SysExReplies, IdentityReplyIs15BytesWithAnyDeviceId)
{
    SysExMessage reply = IdentityReply({'1', '0', '2', '7'});
    EXPECT_TRUE(IsIdentityReply(reply));
    *reply.GetPtrAt(2) = 0x7F;
    EXPECT_TRUE(IsIdentityReply(reply));
    *reply.GetPtrAt(4) = 0x01;
    EXPECT_FALSE(IsIdentityReply(reply));
    SysExMessage longer = IdentityReply({'1', '0', '2', '7'});
    longer.InsertAt(14, 0x00);
    EXPECT_FALSE(IsIdentityReply(longer));
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(longer));
}

TEST(SysExReplies, FirmwareFrom1027OnIsUseable)
{
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '2', '7'})));
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '2', '9'})));
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '3', '0'})));
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(IdentityReply({'2', '0', '0', '0'})));
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(IdentityReply({'9', '9', '9', '9'})));
}

TEST(SysExReplies, FirmwareBefore1027OrNotDigitsIsRefused)
{
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '2', '6'})));
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(IdentityReply({'0', '9', '9', '9'})));
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(IdentityReply({1, 0, 2, 7})));
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '2', ':'})));
    EXPECT_FALSE(IsFirmwareVersionReplyUseable(IdentityReply({'1', '0', '/', '9'})));
}

} // namespace
} // namespace QZ
