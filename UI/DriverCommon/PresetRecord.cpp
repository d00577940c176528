#include "UI/DriverCommon/PresetRecord.h"

namespace QZ
{

std::uint32_t LoadPresetWord(const void* bytes)
{
    const auto* b = static_cast<const unsigned char*>(bytes);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

void StorePresetWord(void* bytes, std::uint32_t value)
{
    auto* b = static_cast<unsigned char*>(bytes);
    b[0] = static_cast<unsigned char>(value);
    b[1] = static_cast<unsigned char>(value >> 8);
    b[2] = static_cast<unsigned char>(value >> 16);
    b[3] = static_cast<unsigned char>(value >> 24);
}

QZRESULT PackPresetRecord(std::uint32_t index, const Variant& value, IBuffer& buffer)
{
    std::uint32_t size = 0;
    value.GetData(size);
    const std::uint32_t valueLength = Variant::RecordHeadSize + size;
    const std::uint32_t length = kPresetRecordHeadSize + valueLength;
    if (valueLength < size || length < valueLength || length > 0x7FFFFFFFu)
    {
        return E_FAIL;
    }
    buffer.Resize(length);
    auto* record = static_cast<unsigned char*>(buffer.GetData());
    StorePresetWord(record, length);
    StorePresetWord(record + 4, 0);
    StorePresetWord(record + 8, index);
    const QZRESULT packed = PackVariant(value, record + kPresetRecordHeadSize, valueLength);
    return Failed(packed) ? packed : static_cast<QZRESULT>(length);
}

QZRESULT UnpackPresetRecord(const IBuffer& buffer, std::uint32_t offset, std::uint32_t& index,
                            Variant& value, std::uint32_t& reserved)
{
    const std::uint64_t size = buffer.GetSize();
    if (static_cast<std::uint64_t>(offset) + kPresetRecordHeadSize > size)
    {
        return E_FAIL;
    }
    const auto* record = static_cast<const unsigned char*>(buffer.GetData()) + offset;
    const std::uint32_t length = LoadPresetWord(record);
    if (static_cast<std::uint64_t>(offset) + length > size)
    {
        return E_FAIL;
    }
    reserved = LoadPresetWord(record + 4);
    if (reserved != 0)
    {
        return E_FAIL;
    }
    index = LoadPresetWord(record + 8);
    if (length < kPresetRecordMinimumLength || length > 0x7FFFFFFFu)
    {
        return E_FAIL;
    }
    const QZRESULT unpacked =
        UnpackVariant(value, record + kPresetRecordHeadSize, length - kPresetRecordHeadSize);
    return Failed(unpacked) ? unpacked : static_cast<QZRESULT>(length);
}

} // namespace QZ
