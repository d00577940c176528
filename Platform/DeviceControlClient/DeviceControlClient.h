// libDeviceControlClient.so: the device-control client's C interface, loaded at run time.
//
// The program reaches these 14 entry points through dlopen/dlsym (QZ::DeviceControlClientInterface)
// and never links the library; an installation without the library runs without device control.
// No C++ object crosses this interface. Values cross it as packed Variant records: three
// little-endian uint32 words (total length L = 12 + n, reserved 0, type tag) followed by n payload
// bytes; a list (tag 10) holds its items' records back to back. The list forms used here:
//     device list       [device identifier, ...]
//     ParamRanges       [[tag-2 first identifier, tag-2 count], ...]
//     ParamDescriptors  [[tag-2 identifier, sub-key], ...]
//     ParamValues       [[value, tag-2 identifier, sub-key], ...]
// A device identifier is any Variant; the empty one (a 12-byte record of tag 0) names the
// directly attached keyboard.
//
// Records handed in (OXLI_Record) are read during the call only. Records handed out go through
// the caller's sink (OXLI_RecordSink): on success the library calls it exactly once, before it
// returns, with bytes that are valid only during that call. Every entry point may be called from
// any thread and never lets an exception out.
//
// Received values. OXLI_ConnectDevice registers a callback that the library calls, on a thread of
// its own, with each ParamValues list the device pushes (answers to OXLI_RequestParamValues
// among them), one call at a time and in the order the device produced them. Once
// OXLI_DisconnectDevice or OXLI_ReleaseAll has returned, the callback of that connection is not
// running and is never called again.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define OXLI_API __attribute__((visibility("default")))

// Results. -1 is never returned by the library: the program reserves it for "no library".
enum OXLI_Result
{
    OXLI_RESULT_OK = 0,
    // A full device search found at least one device.
    OXLI_RESULT_FOUND = 1,
    // A null pointer, a record whose length word does not match its length, a malformed record.
    OXLI_RESULT_BAD_ARGUMENT = -2,
    // No connection to that device.
    OXLI_RESULT_NOT_CONNECTED = -3,
    // A record that must be a list is not one.
    OXLI_RESULT_NOT_A_LIST = -4,
    // The library knows no such device.
    OXLI_RESULT_NO_SUCH_DEVICE = -5,
    // The device holds no such parameter, or the parameter cannot be written.
    OXLI_RESULT_NO_SUCH_PARAMETER = -8,
    // Memory ran out, the sink refused the record or something unforeseen failed.
    OXLI_RESULT_INTERNAL_FAILURE = -9
};

// Search kinds of OXLI_FindRemoteDevices.
enum OXLI_SearchKind
{
    OXLI_SEARCH_QUICK = 0,
    OXLI_SEARCH_FULL = 1
};

#define OXLI_DEVICE_INFO_SIZE 256
// The byte of the device information record that is non-zero when the device is present.
#define OXLI_DEVICE_INFO_PRESENT_OFFSET 252

typedef struct OXLI_Record
{
    const uint8_t* data;
    uint32_t length;
} OXLI_Record;

typedef struct OXLI_RecordSink
{
    void* context;
    // Copies the record; returns 0, or non-zero when it cannot take it.
    int32_t (*write)(void* context, const uint8_t* data, uint32_t length);
} OXLI_RecordSink;

// A device class to search for.
typedef struct OXLI_Guid
{
    uint8_t bytes[16];
} OXLI_Guid;

typedef struct OXLI_ParamDescriptor
{
    int32_t identifier;
    // The sub-key record; an empty Variant for a whole parameter.
    OXLI_Record subKey;
} OXLI_ParamDescriptor;

typedef struct OXLI_DeviceInfo
{
    uint8_t bytes[OXLI_DEVICE_INFO_SIZE];
} OXLI_DeviceInfo;

// Called with each pushed ParamValues list; reserved is 0. The result is not used.
typedef int32_t (*OXLI_ReceiveCallback)(void* context, int32_t reserved, const OXLI_Record* values);

// The number of directly attached devices with that USB vendor and product number; flags is
// reserved (0).
OXLI_API int32_t OXLI_FindDevices(uint32_t vendorID, uint32_t productID, uint32_t flags);
// Searches for remote devices of the given classes (all classes when classCount is 0) and hands
// out the device list. kind OXLI_SEARCH_QUICK answers from what the library already knows and
// returns 0; OXLI_SEARCH_FULL asks the network and returns OXLI_RESULT_FOUND when the list is not
// empty, else 0.
OXLI_API int32_t OXLI_FindRemoteDevices(const OXLI_Guid* classes, uint32_t classCount,
                                        OXLI_RecordSink* devices, uint32_t kind);
// Connects to the device and registers callback(context, ...) for its pushed values, replacing
// an earlier connection.
OXLI_API int32_t OXLI_ConnectDevice(const OXLI_Record* device, OXLI_ReceiveCallback callback,
                                    void* context);
// Tells the device which identifier ranges (a ParamRanges list) the program keeps.
OXLI_API int32_t OXLI_RequestParamRanges(const OXLI_Record* device, const OXLI_Record* ranges);
// Asks for the listed parameters (a ParamDescriptors list); the values the device holds arrive
// through the receive callback. Parameters it does not hold are left out.
OXLI_API int32_t OXLI_RequestParamValues(const OXLI_Record* device,
                                         const OXLI_Record* descriptors);
// Hands out the ranges of identifiers the device holds (a ParamRanges list); flags is reserved
// (0).
OXLI_API int32_t OXLI_GetParamRanges(const OXLI_Record* device, uint32_t flags,
                                     OXLI_RecordSink* ranges);
// Hands out the values of the listed parameters that the device holds (a ParamValues list).
OXLI_API int32_t OXLI_GetParamValues(const OXLI_Record* device, const OXLI_Record* descriptors,
                                     OXLI_RecordSink* values);
OXLI_API int32_t OXLI_GetParamValue(const OXLI_Record* device,
                                    const OXLI_ParamDescriptor* descriptor,
                                    OXLI_RecordSink* value);
OXLI_API int32_t OXLI_SetParamValue(const OXLI_Record* device,
                                    const OXLI_ParamDescriptor* descriptor,
                                    const OXLI_Record* value);
// Writes every item of a ParamValues list.
OXLI_API int32_t OXLI_SetParamValues(const OXLI_Record* device, const OXLI_Record* values);
OXLI_API int32_t OXLI_DisconnectDevice(const OXLI_Record* device);
// 0 while the library is connected to the device, else OXLI_RESULT_NOT_CONNECTED.
OXLI_API int32_t OXLI_IsDeviceConnected(const OXLI_Record* device);
// Fills the record; its presence byte tells whether the device is there.
OXLI_API int32_t OXLI_GetDeviceInfo(const OXLI_Record* device, OXLI_DeviceInfo* info);
// Ends every connection and stops the library's threads; called before the library is unloaded.
OXLI_API int32_t OXLI_ReleaseAll(void);

#ifdef __cplusplus
}
#endif
