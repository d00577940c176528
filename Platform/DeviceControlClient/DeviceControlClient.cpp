// The 14 entry points of libDeviceControlClient.so: they check and unpack what is handed in,
// call the build's backend and hand its values out. No exception may cross the C interface; each
// entry point turns one into OXLI_RESULT_INTERNAL_FAILURE.
#include "Platform/DeviceControlClient/DeviceControlClient.h"

#include "Platform/DeviceControlClient/DeviceControlBackend.h"
#include "Platform/DeviceControlClient/PackedRecord.h"

#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

using DeviceControl::GetDeviceControlBackend;
using QZ::Variant;

namespace
{

template <class Call>
int32_t Guarded(Call call)
{
    try
    {
        return call();
    }
    catch (...)
    {
        return OXLI_RESULT_INTERNAL_FAILURE;
    }
}

// Hands value out through sink when result is a success.
int32_t HandOut(int32_t result, const Variant& value, OXLI_RecordSink* sink)
{
    if (result < 0)
    {
        return result;
    }
    std::vector<uint8_t> record;
    if (!Platform::PackRecord(value, record) ||
        sink->write(sink->context, record.data(), static_cast<uint32_t>(record.size())) != 0)
    {
        return OXLI_RESULT_INTERNAL_FAILURE;
    }
    return result;
}

bool IsUsable(const OXLI_RecordSink* sink)
{
    return sink != nullptr && sink->write != nullptr;
}

// Unpacks the records that an entry point takes; false when one is missing or malformed.
bool UnpackAll(std::initializer_list<std::pair<const OXLI_Record*, Variant*>> records)
{
    for (const auto& [record, value] : records)
    {
        if (!Platform::UnpackRecord(record, *value))
        {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" {

int32_t OXLI_FindDevices(uint32_t vendorID, uint32_t productID, uint32_t /*flags*/)
{
    return Guarded([&] { return GetDeviceControlBackend().FindDevices(vendorID, productID); });
}

int32_t OXLI_FindRemoteDevices(const OXLI_Guid* classes, uint32_t classCount,
                               OXLI_RecordSink* devices, uint32_t kind)
{
    if ((classes == nullptr && classCount > 0) || !IsUsable(devices) || kind > OXLI_SEARCH_FULL)
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return Guarded([&] {
        Variant list;
        const int32_t result = GetDeviceControlBackend().FindRemoteDevices(kind, list);
        return HandOut(result, list, devices);
    });
}

int32_t OXLI_ConnectDevice(const OXLI_Record* device, OXLI_ReceiveCallback callback, void* context)
{
    return Guarded([&] {
        Variant identifier;
        if (callback == nullptr || !UnpackAll({{device, &identifier}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().ConnectDevice(identifier, callback, context);
    });
}

int32_t OXLI_RequestParamRanges(const OXLI_Record* device, const OXLI_Record* ranges)
{
    return Guarded([&] {
        Variant identifier;
        Variant list;
        if (!UnpackAll({{device, &identifier}, {ranges, &list}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().RequestParamRanges(identifier, list);
    });
}

int32_t OXLI_RequestParamValues(const OXLI_Record* device, const OXLI_Record* descriptors)
{
    return Guarded([&] {
        Variant identifier;
        Variant list;
        if (!UnpackAll({{device, &identifier}, {descriptors, &list}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().RequestParamValues(identifier, list);
    });
}

int32_t OXLI_GetParamRanges(const OXLI_Record* device, uint32_t /*flags*/, OXLI_RecordSink* ranges)
{
    return Guarded([&] {
        Variant identifier;
        if (!IsUsable(ranges) || !UnpackAll({{device, &identifier}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        Variant list;
        return HandOut(GetDeviceControlBackend().GetParamRanges(identifier, list), list, ranges);
    });
}

int32_t OXLI_GetParamValues(const OXLI_Record* device, const OXLI_Record* descriptors,
                            OXLI_RecordSink* values)
{
    return Guarded([&] {
        Variant identifier;
        Variant wanted;
        if (!IsUsable(values) || !UnpackAll({{device, &identifier}, {descriptors, &wanted}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        Variant list;
        const int32_t result = GetDeviceControlBackend().GetParamValues(identifier, wanted, list);
        return HandOut(result, list, values);
    });
}

int32_t OXLI_GetParamValue(const OXLI_Record* device, const OXLI_ParamDescriptor* descriptor,
                           OXLI_RecordSink* value)
{
    return Guarded([&] {
        Variant identifier;
        Variant subKey;
        if (descriptor == nullptr || !IsUsable(value) ||
            !UnpackAll({{device, &identifier}, {&descriptor->subKey, &subKey}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        Variant current;
        const int32_t result = GetDeviceControlBackend().GetParamValue(
            identifier, descriptor->identifier, subKey, current);
        return HandOut(result, current, value);
    });
}

int32_t OXLI_SetParamValue(const OXLI_Record* device, const OXLI_ParamDescriptor* descriptor,
                           const OXLI_Record* value)
{
    return Guarded([&] {
        Variant identifier;
        Variant subKey;
        Variant newValue;
        if (descriptor == nullptr ||
            !UnpackAll({{device, &identifier}, {&descriptor->subKey, &subKey}, {value, &newValue}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().SetParamValue(identifier, descriptor->identifier, subKey,
                                                       newValue);
    });
}

int32_t OXLI_SetParamValues(const OXLI_Record* device, const OXLI_Record* values)
{
    return Guarded([&] {
        Variant identifier;
        Variant list;
        if (!UnpackAll({{device, &identifier}, {values, &list}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().SetParamValues(identifier, list);
    });
}

int32_t OXLI_DisconnectDevice(const OXLI_Record* device)
{
    return Guarded([&] {
        Variant identifier;
        if (!UnpackAll({{device, &identifier}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().DisconnectDevice(identifier);
    });
}

int32_t OXLI_IsDeviceConnected(const OXLI_Record* device)
{
    return Guarded([&] {
        Variant identifier;
        if (!UnpackAll({{device, &identifier}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetDeviceControlBackend().IsDeviceConnected(identifier);
    });
}

int32_t OXLI_GetDeviceInfo(const OXLI_Record* device, OXLI_DeviceInfo* info)
{
    return Guarded([&] {
        Variant identifier;
        if (info == nullptr || !UnpackAll({{device, &identifier}}))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        std::memset(info->bytes, 0, sizeof(info->bytes));
        return GetDeviceControlBackend().GetDeviceInfo(identifier, *info);
    });
}

int32_t OXLI_ReleaseAll(void)
{
    return Guarded([] { return GetDeviceControlBackend().ReleaseAll(); });
}

} // extern "C"
