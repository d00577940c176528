// LDeviceCommunicationInterface: the device model's road to the device-control library.
//
// Towards the root module and the engine it offers device search, connection, parameter
// requests, reads and writes, with the current device filled in; towards the library it goes
// through DeviceControlClientInterface. Values the library pushes (from a thread of its own) are
// queued without limit and handed to the receiver, oldest first, on the interface's delivery
// thread (an LEventGatedThreader woken per list). A few virtual parameter identifiers are
// answered here when there is no client: -2 ready, -8 status, -9 maker's name, -10 product name;
// -4 delivers a status value to the receiver; -12 to -14 cannot be written.
//
// Results: 0 success; -1 (kNoClient) no client, or the library's "no library"; -3 not
// connected; E_FAIL for a refused request; the library's own results otherwise.
//
// Threads: any thread may call; the delivery thread calls the receiver. See
// LDeviceCommunicationState for the locks. The receiver must stay valid until SetReceiver(null)
// or EnableReceiver(false) has returned, both of which wait for a delivery in progress.
#pragma once

#include "Engine/RededoVuvuvaCommon/DeviceCommunicationReceiver.h"
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationState.h"
#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/EventGatedThreader.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/ParamDescriptors.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

class LDeviceCommunicationInterface : public virtual QZ::LRefCountedObject
{
public:
    // Device classes to search for; empty for all.
    using DeviceClassArray = QZ::Array<OXLI_Guid>;
    using DeviceList = QZ::Array<QZ::Variant>;

    static constexpr std::int32_t kNoClient = -1;
    static constexpr std::int32_t kNotConnected = -3;
    // Answer of WaitForRemoteDeviceListChange when the time ran out with the list unchanged.
    static constexpr std::int32_t kListUnchanged = 1;
    static constexpr std::uint32_t kSearchPauseMs = 250;

    // Starts the delivery thread; receiving is off and no receiver is set.
    LDeviceCommunicationInterface();
    LDeviceCommunicationInterface(const LDeviceCommunicationInterface&) = delete;
    LDeviceCommunicationInterface& operator=(const LDeviceCommunicationInterface&) = delete;
    // Ends delivery and the delivery thread, disconnects the current device and unloads the
    // library.
    ~LDeviceCommunicationInterface() override;

    // Creates the client (loading the library beside the program): 0, or 1 when it exists
    // already. A missing library is no failure here: the client then answers every call with -1.
    QZ::QZRESULT Initialize();
    // True when the client exists and has its library loaded.
    [[nodiscard]] bool IsLibraryLoaded() const
    {
        const QZ::DeviceControlClientInterface* client = GetClient();
        return client != nullptr && client->IsLoaded();
    }
    [[nodiscard]] bool IsReady() const { return true; }
    // Hands the receiver, on this thread, a one-item list for identifier -4 whose value is the
    // list [tag-3 value, tag-1 IsReady]. False when no receiver is set, else IsReady.
    bool DeliverStatusValue(std::int64_t value);
    // Waits for a library call in progress under the state lock.
    void Synchronize();

    // The directly attached keyboard only: one empty identifier. 0.
    std::int32_t GetLocalDeviceList(const DeviceClassArray& classes, DeviceList& list);
    // Searches (quickly) every kSearchPauseMs until list differs from what it was on entry, or
    // timeoutMs has passed: 0 changed, kListUnchanged, E_FAIL when a search failed, kNoClient.
    // list holds the last search's result. Time-out 0 makes exactly one search.
    std::int32_t WaitForRemoteDeviceListChange(const DeviceClassArray& classes, DeviceList& list,
                                               std::uint32_t timeoutMs);
    // One full search: the library's result (1 when devices were found); list is filled when it
    // is not negative.
    std::int32_t FindRemoteDevices(const DeviceClassArray& classes, DeviceList& list);
    // Makes device the current device, then connects to it.
    std::int32_t ConnectDevice(const QZ::Variant& device);
    std::int32_t RequestParamRanges(const QZ::ParamRanges& ranges);
    std::int32_t RequestParamValues(const QZ::ParamDescriptors& descriptors);
    std::int32_t RequestParamValue(const QZ::ParamDescriptor& descriptor);
    std::int32_t GetParamRanges(std::uint32_t flags, QZ::Variant& ranges);
    std::int32_t GetParamValues(const QZ::ParamDescriptors& descriptors, QZ::Variant& values);
    // With a client: the library's answer. Without: the virtual identifiers -2, -8 (kNoClient),
    // -9 and -10; E_FAIL for any other.
    std::int32_t GetParamValue(const QZ::ParamDescriptor& descriptor, QZ::Variant& value);
    // E_FAIL without a receiver; -4 delivers the status value (0 delivered, 1 not); -12 to -14
    // E_FAIL; otherwise the library's answer, or without a client kNoClient for -8 and E_FAIL.
    std::int32_t SetParamValue(const QZ::ParamDescriptor& descriptor, const QZ::Variant& value);
    std::int32_t SetParamValues(const QZ::Variant& values);
    // This interface always reports a connection.
    [[nodiscard]] bool IsConnected() const { return true; }
    // kNoClient without a client, else 0 (IsConnected) or kNotConnected.
    std::int32_t CheckConnection();
    std::int32_t DisconnectDevice();
    // Asks the library about device (not the current device); see
    // DeviceControlClientInterface::IsDevicePresent.
    std::int32_t GetDeviceInfo(const QZ::Variant& device, OXLI_DeviceInfo& info);
    // The status parameter (-8) of the current device; kNoClient without a client.
    std::int32_t GetStatus(QZ::Variant& status);
    std::int32_t SetStatus(const QZ::Variant& status);
    // Always device 0.
    std::int32_t GetDeviceIndex(std::int32_t& index) const;

    // Switching off waits until a delivery in progress has ended.
    void EnableReceiver(bool on);
    // The receiver is not owned. Clearing it waits until a delivery in progress has ended.
    void SetReceiver(DeviceCommunicationReceiver* receiver);

private:
    [[nodiscard]] QZ::DeviceControlClientInterface* GetClient() const
    {
        return mState->mClient.get();
    }

    QZ::RCPtr<LDeviceCommunicationState> mState;
    // Holds the state as its context; released first on destruction so that the delivery thread
    // has ended before the rest goes.
    QZ::RCPtr<QZ::LEventGatedThreader> mThreader;
};
