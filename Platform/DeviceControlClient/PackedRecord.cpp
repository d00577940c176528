#include "Platform/DeviceControlClient/PackedRecord.h"

namespace Platform
{

bool PackRecord(const QZ::Variant& value, std::vector<std::uint8_t>& record)
{
    std::uint32_t size = 0;
    static_cast<void>(value.GetData(size));
    if (size > 0x7FFFFFFFu - QZ::Variant::RecordHeadSize)
    {
        record.clear();
        return false;
    }
    record.resize(QZ::Variant::RecordHeadSize + size);
    const QZ::QZRESULT packed =
        QZ::PackVariant(value, record.data(), static_cast<std::uint32_t>(record.size()));
    if (QZ::Failed(packed))
    {
        record.clear();
        return false;
    }
    return true;
}

OXLI_Record ViewRecord(const std::vector<std::uint8_t>& record)
{
    return OXLI_Record{record.data(), static_cast<std::uint32_t>(record.size())};
}

bool UnpackRecord(const std::uint8_t* data, std::uint32_t length, QZ::Variant& value)
{
    value.Clear();
    if (data == nullptr || length < QZ::Variant::RecordHeadSize)
    {
        return false;
    }
    const std::uint32_t declared =
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return declared == length && QZ::Succeeded(QZ::UnpackVariant(value, data, length));
}

bool UnpackRecord(const OXLI_Record* record, QZ::Variant& value)
{
    if (record == nullptr)
    {
        value.Clear();
        return false;
    }
    return UnpackRecord(record->data, record->length, value);
}

VariantSink::VariantSink(QZ::Variant& target) : mSink{this, &VariantSink::Write}, mTarget(target) {}

std::int32_t VariantSink::Write(void* context, const std::uint8_t* data, std::uint32_t length)
{
    auto* self = static_cast<VariantSink*>(context);
    try
    {
        return UnpackRecord(data, length, self->mTarget) ? 0 : 1;
    }
    catch (...)
    {
        return 1;
    }
}

} // namespace Platform
