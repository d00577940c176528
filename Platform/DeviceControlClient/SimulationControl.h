// Test controls of the simulated build of libDeviceControlClient.so, which stands for one
// keyboard attached through a device-control service. Only that build exports these functions;
// tests reach them with dlsym on the same library the program loads, or by linking it.
//
// The simulated device holds a preset (the values written to it, plus the virtual parameters
// -2 ready = true, -8 status = tag-3 0, -9 "Korvane" and -10 "Tarn 61 Vidida Editor"), answers
// requests from it, and pushes value lists to the connected program from a thread of its own.
// It is present at first and has no remote devices.
#pragma once

#include "Platform/DeviceControlClient/DeviceControlClient.h"

#ifdef __cplusplus
extern "C" {
#endif

// Back to the first state: no connection, nothing pending, an empty preset, no remote devices,
// present, no failures set, every call count 0. OXLI_RESULT_INTERNAL_FAILURE when memory ran out.
OXLI_API int32_t OXLISim_Reset(void);
// The device list that full and quick searches report: at once for afterSearches 0, else from
// the search after the next afterSearches ones. OXLI_RESULT_NOT_A_LIST when devices is no list.
OXLI_API int32_t OXLISim_SetRemoteDevices(const OXLI_Record* devices, uint32_t afterSearches);
// Whether the devices are there (the presence byte of OXLI_GetDeviceInfo, OXLI_FindDevices).
OXLI_API void OXLISim_SetDevicePresent(int32_t present);
// The device changes the listed values (a ParamValues list) and pushes the list to the connected
// program from the library's thread; lists are pushed in the order they were given.
// OXLI_RESULT_NOT_CONNECTED without a connection.
OXLI_API int32_t OXLISim_PushValues(const OXLI_Record* values);
// Waits until every list given so far has been handed to the callback: 0, or 1 after timeoutMs.
OXLI_API int32_t OXLISim_WaitUntilDelivered(uint32_t timeoutMs);
// How often the named entry point ("OXLI_ConnectDevice", ...) has been called since the reset
// (failed calls included).
OXLI_API uint32_t OXLISim_GetCallCount(const char* entryPoint);
// Makes the named entry point return result (non-zero) from now on without doing anything;
// 0 takes the failure away. OXLI_RESULT_BAD_ARGUMENT for a null name.
OXLI_API int32_t OXLISim_SetFailure(const char* entryPoint, int32_t result);

#ifdef __cplusplus
}
#endif
