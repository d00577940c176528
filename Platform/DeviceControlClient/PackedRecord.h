// Packed Variant records as they cross the device-control library's C interface, for both sides
// of it: the library and the program's adapter.
#pragma once

#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <vector>

namespace Platform
{

// Packs value into record. False (record empty) for a value that has no record: a reference
// Variant without data, or one longer than a record can be.
[[nodiscard]] bool PackRecord(const QZ::Variant& value, std::vector<std::uint8_t>& record);

// A view of packed bytes, valid as long as they are.
[[nodiscard]] OXLI_Record ViewRecord(const std::vector<std::uint8_t>& record);

// Reads one whole record: its length word must equal length. False, leaving value empty, for
// null data, a mismatched length or a malformed record.
[[nodiscard]] bool UnpackRecord(const std::uint8_t* data, std::uint32_t length, QZ::Variant& value);
[[nodiscard]] bool UnpackRecord(const OXLI_Record* record, QZ::Variant& value);

// A sink that unpacks the record it is handed into a Variant of the caller's.
class VariantSink
{
public:
    explicit VariantSink(QZ::Variant& target);
    VariantSink(const VariantSink&) = delete;
    VariantSink& operator=(const VariantSink&) = delete;

    [[nodiscard]] OXLI_RecordSink* Get() { return &mSink; }

private:
    static std::int32_t Write(void* context, const std::uint8_t* data, std::uint32_t length);

    OXLI_RecordSink mSink;
    QZ::Variant& mTarget;
};

} // namespace Platform
