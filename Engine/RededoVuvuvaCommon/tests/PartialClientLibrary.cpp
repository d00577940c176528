// A device-control library that lacks OXLI_ReleaseAll; the loader must refuse it whole. Every
// entry point it has counts its calls, so a test can see that none was made.
#include "Platform/DeviceControlClient/DeviceControlClient.h"

#include <atomic>

namespace
{
std::atomic<int> gCalls{0};

int32_t Count()
{
    gCalls.fetch_add(1);
    return 0;
}
} // namespace

extern "C" {

OXLI_API int32_t PartialLibrary_GetCallCount(void)
{
    return gCalls.load();
}

int32_t OXLI_FindDevices(uint32_t, uint32_t, uint32_t)
{
    return Count();
}
int32_t OXLI_FindRemoteDevices(const OXLI_Guid*, uint32_t, OXLI_RecordSink*, uint32_t)
{
    return Count();
}
int32_t OXLI_ConnectDevice(const OXLI_Record*, OXLI_ReceiveCallback, void*)
{
    return Count();
}
int32_t OXLI_RequestParamRanges(const OXLI_Record*, const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_RequestParamValues(const OXLI_Record*, const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_GetParamRanges(const OXLI_Record*, uint32_t, OXLI_RecordSink*)
{
    return Count();
}
int32_t OXLI_GetParamValues(const OXLI_Record*, const OXLI_Record*, OXLI_RecordSink*)
{
    return Count();
}
int32_t OXLI_GetParamValue(const OXLI_Record*, const OXLI_ParamDescriptor*, OXLI_RecordSink*)
{
    return Count();
}
int32_t OXLI_SetParamValue(const OXLI_Record*, const OXLI_ParamDescriptor*, const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_SetParamValues(const OXLI_Record*, const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_DisconnectDevice(const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_IsDeviceConnected(const OXLI_Record*)
{
    return Count();
}
int32_t OXLI_GetDeviceInfo(const OXLI_Record*, OXLI_DeviceInfo*)
{
    return Count();
}

} // extern "C"
