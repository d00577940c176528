// LRootModule: the root of the model's tree and the only module that keeps values.
//
// The engine binds it to a parameter cache (one slot per preset parameter, indexed by identifier
// minus F) and to the device-communication interface. It keeps every value in the cache, reports
// every real change through the change callback, sends the user's changes to the device, and
// receives the value lists that arrive from the device.
//
// One device lock (re-entrant) serialises all value traffic: writes and reads through the tree,
// the change list and the callback, which runs with the lock held. The delivery thread holds the
// interface's delivery lock when it hands a list in, so that lock comes before the device lock;
// the state and queue locks of the interface and the notification locks come after it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationReceiver.h"
#include "Engine/RededoVuvuvaCommon/ParamCache.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"

#include <cstdint>
#include <memory>

class LRootModule : public IRootModule, public DeviceCommunicationReceiver
{
public:
    // Called for every reported change with a one-entry list that the next report overwrites.
    using ChangeCallback = int (*)(void* context, QZ::Array<QZ::ParamValue>* changes);

    // A new root with its device tree, not yet placed or bound.
    [[nodiscard]] static QZ::RCPtr<LRootModule> Create(bool offline);
    // Ends delivery and disconnects the device before the members go.
    ~LRootModule() override;

    // Binds the root: places the tree at firstParamID (the modules' logic errors for a bad
    // placement pass out), fills the cache with the 131 defaults without reports, then registers
    // as the interface's receiver and enables delivery. Returns 0. Called once, before delivery.
    std::int32_t Initialize(ChangeCallback callback, void* context,
                            const QZ::RCPtr<QZ::LParamCache>& cache,
                            const QZ::RCPtr<LDeviceCommunicationInterface>& deviceComm,
                            std::int32_t firstParamID);
    // Disconnects, then connects to device. A negative result makes the model offline and is
    // returned; otherwise it goes online and asks the device for the preset's range and its
    // status (-8). Takes no lock.
    std::int32_t ConnectDevice(const QZ::Variant& device);
    // No more lists are handed in once this returns. 0.
    std::int32_t StopReceiving();

    // The root's own parameter store: CommitParamValue and ReadParamValue.
    std::int32_t SetParamValue(const QZ::ParamDescriptor& descriptor,
                               const QZ::Variant& value) override;
    [[nodiscard]] QZ::Variant GetParamValue(const QZ::ParamDescriptor& descriptor) const override;
    // Keeps a real change (not equal to the value kept, not empty) in the cache and reports it
    // with the caller's descriptor. 0; -1 for an identifier outside F to F + 130.
    std::int32_t CommitParamValue(const QZ::ParamDescriptor& descriptor,
                                  const QZ::Variant& value) override;
    // The value kept; empty outside F to F + 130.
    [[nodiscard]] QZ::Variant ReadParamValue(const QZ::ParamDescriptor& descriptor) const override;
    // ReadParamValue for range.mCount identifiers from range.mFirstParamID on, each written with
    // its identifier into out[0 .. count - 1] in place, under one hold of the device lock.
    void ReadParamValues(const QZ::ParamRange& range, QZ::ParamValue* out) const;

    void ReportParamChange(const QZ::ParamDescriptor& descriptor,
                           const QZ::Variant& value) override;
    [[nodiscard]] QZ::RCPtr<LDeviceCommunicationInterface>
    GetDeviceCommunicationInterface() override
    {
        return mDeviceComm;
    }
    // Under the device lock: -4 hands the status value back through the interface (0 when it
    // was delivered, 1 when not); anything else as IRootModule::SendParamValue.
    std::int32_t SendParamValue(const QZ::ParamDescriptor& descriptor,
                                const QZ::Variant& value) override;
    // Under the device lock: negative identifiers are asked of the interface (-1 without one);
    // the others as IRootModule::FetchParamValue.
    std::int32_t FetchParamValue(const QZ::ParamDescriptor& descriptor,
                                 QZ::Variant& value) override;
    using IRootModule::GetDevice;
    [[nodiscard]] QZ::RCPtr<IDevice> GetDevice() override { return mDevice; }

    [[nodiscard]] virtual QZ::RCPtr<QZ::LParamCache> GetParamCache() { return mParamCache; }
    // The callback's result, or 0 when there is none.
    virtual int InvokeChangeCallback(QZ::Array<QZ::ParamValue>* changes);
    // mDevice becomes a new LDevice.
    virtual void CreateDevice();

    // Under the device lock, item by item in order: an item owned by a module is written through
    // it (kept and reported only when it changed); any other item (identifiers outside the tree,
    // commands, items that cannot be read) is reported unchanged and not kept. Identifier -2 with
    // a true value first raises PropagateEventA.
    void ReceiveParamValues(const QZ::ParamValues& values) override;

private:
    explicit LRootModule(bool offline);

    // The cache's descriptor for descriptor (number = identifier - F); false outside the preset.
    [[nodiscard]] bool ToCacheDescriptor(const QZ::ParamDescriptor& descriptor,
                                         QZ::ParamDescriptor& cached) const;
    // The value kept for descriptor, or an empty one; the device lock is held by the caller.
    void ReadKeptValue(const QZ::ParamDescriptor& descriptor, QZ::Variant& value) const;

    struct DeviceLock
    {
        QZ::Mutex mMutex;
        // Exactly one entry, overwritten by every report.
        QZ::Array<QZ::ParamValue> mChanges{1};
    };

    // Released in reverse order: the lock, the cache, the interface, the device.
    QZ::RCPtr<IDevice> mDevice;
    ChangeCallback mChangeCallback = nullptr;
    void* mCallbackContext = nullptr;
    QZ::RCPtr<LDeviceCommunicationInterface> mDeviceComm;
    QZ::RCPtr<QZ::LParamCache> mParamCache;
    std::unique_ptr<DeviceLock> mDeviceLock;
};
