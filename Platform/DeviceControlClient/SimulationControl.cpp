// The test controls of the simulated build (SimulationControl.h).
#include "Platform/DeviceControlClient/SimulationControl.h"

#include "Platform/DeviceControlClient/PackedRecord.h"
#include "Platform/DeviceControlClient/SimulatedDevice.h"

using DeviceControl::GetSimulatedDevice;

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

} // namespace

extern "C" {

int32_t OXLISim_Reset(void)
{
    return Guarded([] {
        GetSimulatedDevice().Reset();
        return static_cast<int32_t>(OXLI_RESULT_OK);
    });
}

int32_t OXLISim_SetRemoteDevices(const OXLI_Record* devices, uint32_t afterSearches)
{
    return Guarded([&] {
        QZ::Variant list;
        if (!Platform::UnpackRecord(devices, list))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetSimulatedDevice().SetRemoteDevices(list, afterSearches);
    });
}

void OXLISim_SetDevicePresent(int32_t present)
{
    GetSimulatedDevice().SetDevicePresent(present != 0);
}

int32_t OXLISim_PushValues(const OXLI_Record* values)
{
    return Guarded([&] {
        QZ::Variant list;
        if (!Platform::UnpackRecord(values, list))
        {
            return static_cast<int32_t>(OXLI_RESULT_BAD_ARGUMENT);
        }
        return GetSimulatedDevice().PushValues(list);
    });
}

int32_t OXLISim_WaitUntilDelivered(uint32_t timeoutMs)
{
    return GetSimulatedDevice().WaitUntilDelivered(timeoutMs) ? 0 : 1;
}

uint32_t OXLISim_GetCallCount(const char* entryPoint)
{
    return entryPoint == nullptr ? 0 : GetSimulatedDevice().GetCallCount(entryPoint);
}

int32_t OXLISim_SetFailure(const char* entryPoint, int32_t result)
{
    if (entryPoint == nullptr)
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return Guarded([&] {
        GetSimulatedDevice().SetFailure(entryPoint, result);
        return static_cast<int32_t>(OXLI_RESULT_OK);
    });
}

} // extern "C"
