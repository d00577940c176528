#include "Engine/RededoVuvuvaCommon/SysExMessages.h"

#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace QZ
{
namespace
{

constexpr signed char Byte(std::uint8_t value)
{
    return static_cast<signed char>(value);
}

constexpr std::array<std::uint8_t, kDeviceHeaderLength> kDeviceHeader = {0xF0, 0x00, 0x3C, 0x1D,
                                                                         0x7F, 0x31, 0x06};

constexpr std::uint8_t kSendPreset = 0x61;
constexpr std::uint8_t kGetPreset = 0x62;
constexpr std::uint8_t kPresetDump = 0x63;
constexpr std::uint8_t kSetGlobal = 0x6A;
constexpr std::uint8_t kRequestGlobal = 0x6B;
constexpr std::uint8_t kGlobalReply = 0x6C;
constexpr std::uint8_t kPreamble = 0x6D;

constexpr std::int32_t kCommandOffset = 7;
constexpr std::int32_t kGlobalReplyLength = 15;
constexpr std::int32_t kPresetDumpSlotOffset = 10;
constexpr std::int32_t kGlobalIndexOffset = 11;
constexpr std::int32_t kGlobalValueOffset = 12;
constexpr std::int32_t kIdentityReplyLength = 15;
constexpr std::int32_t kFirmwareOffset = 10;
constexpr std::int32_t kFirmwareDigits = 4;
constexpr std::array<int, kFirmwareDigits> kLowestUseableFirmware = {1, 0, 2, 7};

// The device header without its F0, then the given bytes.
SysExMessage BodyWithoutStart(std::initializer_list<std::uint8_t> rest)
{
    SysExMessage message;
    for (std::size_t i = 1; i < kDeviceHeader.size(); ++i)
    {
        message.Add(Byte(kDeviceHeader[i]));
    }
    for (const std::uint8_t byte : rest)
    {
        message.Add(Byte(byte));
    }
    return message;
}

std::uint8_t At(const IArray<signed char>& message, std::int32_t index)
{
    return static_cast<std::uint8_t>(*message.GetItemPtr(index));
}

bool IsDataByte(signed char byte)
{
    return byte >= 0;
}

// Appends the bytes; on failure the message is emptied.
QZRESULT Append(IArray<signed char>& message, std::initializer_list<std::uint8_t> bytes)
{
    for (const std::uint8_t byte : bytes)
    {
        if (Failed(message.Add(Byte(byte))))
        {
            message.RemoveAll();
            return E_FAIL;
        }
    }
    return S_OK;
}

bool IsDeviceCommand(const IArray<signed char>& reply, std::int32_t length, std::uint8_t command)
{
    return reply.GetCount() == length && IsSysExHeaderValid(reply) &&
           At(reply, kCommandOffset) == command;
}

} // namespace

SysExMessage BuildPreambleMessage()
{
    return BodyWithoutStart({kPreamble, 0x00, 0x01, 0x01});
}

QZRESULT BuildGetPresetMessage(std::uint8_t slot, SysExMessage& message)
{
    message.RemoveAll();
    if (slot > kHighestPresetSlot)
    {
        return E_FAIL;
    }
    message = BodyWithoutStart({kGetPreset, slot});
    return S_OK;
}

QZRESULT BuildSendPresetHeader(std::uint8_t slot, SysExMessage& message)
{
    message.RemoveAll();
    if (slot > kHighestPresetSlot)
    {
        return E_FAIL;
    }
    message = BodyWithoutStart({kSendPreset, 0x0A, 0x3B, slot});
    return S_OK;
}

QZRESULT BuildSendPresetMessage(std::uint8_t slot, SysExMessage& message)
{
    const QZRESULT result = BuildSendPresetHeader(slot, message);
    if (Failed(result))
    {
        return result;
    }
    return message.SetCount(kSendPresetBodyLength);
}

QZRESULT PutPresetValue(SysExMessage& message, std::int32_t& position, const signed char* bytes,
                        std::int32_t count)
{
    if (message.GetCount() != kSendPresetBodyLength || At(message, 6) != kSendPreset ||
        position < kSendPresetValueOffset || position > kSendPresetBodyLength || count < 0 ||
        (count > 0 && bytes == nullptr) || !std::all_of(bytes, bytes + count, IsDataByte))
    {
        return E_FAIL;
    }
    const std::int32_t written = std::min(count, kSendPresetBodyLength - position);
    std::copy_n(bytes, written, message.GetPtrAt(0) + position);
    position += written;
    return S_OK;
}

QZRESULT BuildSysExHeader(IArray<signed char>& message)
{
    message.RemoveAll();
    for (const std::uint8_t byte : kDeviceHeader)
    {
        const std::int32_t added = message.Add(Byte(byte));
        if (Failed(added))
        {
            message.RemoveAll();
            return added;
        }
    }
    return S_OK;
}

QZRESULT BuildGlobalParameterRequest(IArray<signed char>& message, const WideString& name)
{
    const std::int32_t index = GetGlobalParameterIndex(name);
    if (index < 0)
    {
        message.RemoveAll();
        return E_FAIL;
    }
    const QZRESULT header = BuildSysExHeader(message);
    if (Failed(header))
    {
        return header;
    }
    if (Failed(
            Append(message, {kRequestGlobal, 0x00, 0x02, 0x00, static_cast<std::uint8_t>(index)})))
    {
        return E_FAIL;
    }
    return header;
}

QZRESULT BuildGlobalParameterMessage(const WideString& name, std::int32_t value,
                                     IArray<signed char>& message)
{
    const std::int32_t index = GetGlobalParameterIndex(name);
    if (index < 0 || !IsGlobalParameterValueValid(name, value))
    {
        message.RemoveAll();
        return E_FAIL;
    }
    const QZRESULT header = BuildSysExHeader(message);
    if (Failed(header))
    {
        return header;
    }
    if (Failed(Append(message, {kSetGlobal, 0x00, 0x04, 0x00, static_cast<std::uint8_t>(index),
                                static_cast<std::uint8_t>(value / 128),
                                static_cast<std::uint8_t>(value % 128), kSysExEnd})))
    {
        return E_FAIL;
    }
    return header;
}

IdentityRequestMessage BuildIdentityRequest()
{
    return {Byte(kSysExStart), Byte(0x7E), Byte(0x7F), Byte(0x06), Byte(0x01), Byte(kSysExEnd)};
}

bool IsSysExHeaderValid(const IArray<signed char>& message)
{
    if (message.GetCount() < kDeviceHeaderLength)
    {
        return false;
    }
    for (std::int32_t i = 0; i < kDeviceHeaderLength; ++i)
    {
        if (At(message, i) != kDeviceHeader[static_cast<std::size_t>(i)])
        {
            return false;
        }
    }
    return true;
}

bool IsPresetDumpReply(const IArray<signed char>& reply)
{
    return IsDeviceCommand(reply, kPresetMessageLength, kPresetDump);
}

std::int32_t GetPresetDumpSlot(const IArray<signed char>& reply)
{
    return IsPresetDumpReply(reply) ? At(reply, kPresetDumpSlotOffset) : -1;
}

bool IsGlobalParameterReply(const IArray<signed char>& reply)
{
    return IsDeviceCommand(reply, kGlobalReplyLength, kGlobalReply);
}

std::int32_t GetGlobalParameterIndexFromReply(const IArray<signed char>& reply)
{
    return IsGlobalParameterReply(reply) ? At(reply, kGlobalIndexOffset) : -1;
}

std::int32_t GetGlobalParameterValueFromReply(const IArray<signed char>& reply)
{
    if (reply.GetCount() < kGlobalValueOffset + 2)
    {
        return 0;
    }
    return At(reply, kGlobalValueOffset) * 128 + At(reply, kGlobalValueOffset + 1);
}

bool IsIdentityReply(const IArray<signed char>& reply)
{
    return reply.GetCount() == kIdentityReplyLength && At(reply, 0) == kSysExStart &&
           At(reply, 1) == 0x7E && At(reply, 3) == 0x06 && At(reply, 4) == 0x02;
}

bool IsFirmwareVersionReplyUseable(const IArray<signed char>& reply)
{
    if (!IsIdentityReply(reply))
    {
        return false;
    }
    std::array<int, kFirmwareDigits> version{};
    for (std::int32_t i = 0; i < kFirmwareDigits; ++i)
    {
        const std::uint8_t digit = At(reply, kFirmwareOffset + i);
        if (digit < '0' || digit > '9')
        {
            return false;
        }
        version[static_cast<std::size_t>(i)] = digit - '0';
    }
    return version >= kLowestUseableFirmware;
}

} // namespace QZ
