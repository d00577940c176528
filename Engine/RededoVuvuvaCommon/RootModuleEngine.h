// LRootModuleEngine: the one road from the rest of the program to the device model and the
// device-control library.
//
// The application creates it at start-up and calls Initialize; from then on the engine owns the
// device-communication interface, the parameter cache and the root module. It gives the MIDI
// manager, the preset file and the editor read and write access to the 131 preset parameters,
// turns the root module's change reports into "NID_PARAM_MODULE_STATE_CHANGE" notifications,
// forwards "NID_PARAM_MODULE_CHANGE_REQ" requests to the root module, keeps a device-connection
// state, and while device scanning is on runs a polling worker that searches for remote devices.
// Every notification goes to the queue of the "application" centre and so reaches the
// user-interface thread at its next queue pass.
//
// Connection states: the interface always reports a connection, so the first evaluation in
// Initialize enters Connected and the engine stays there; SetParamValue and change requests reach
// the root module from then on.
//
// Threads and locks: the user-interface thread (initialisation, panels, menu commands,
// notification handling), the MIDI manager's callers and the engine's worker thread call in. The
// engine lock guards the current device, the remote-device list and the connection state; device
// searches (up to 1500 ms) run outside it, and no wait for the worker happens inside it. Lock
// order: the engine lock before the interface's state lock; the root module's device lock is
// never held while the engine lock is taken.
//
// Lifetime: the worker's run holds a counted back-reference to the engine (an internal one), so
// releasing the last outside reference stops the worker and waits for it; a run that outlives
// that wait keeps the engine alive until it ends.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/RootModule.h"
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"
#include "Engine/RededoVuvuvaCommon/ParamCache.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/Holder.h"
#include "QZFramework/ObjectBase/Pair.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/Wrapper.h"
#include "QZFramework/System/Event.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/System/RetriggerableThreader.h"
#include "QZFramework/System/ThreadWorker.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/ParamDescriptors.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <atomic>
#include <cstdint>

class LRootModuleEngine : public QZ::LNotificationClient, private QZ::LThreadWorker
{
public:
    enum DeviceConnectionState : std::int32_t
    {
        NotConnected = 0,
        Connecting = 1,
        Reconnecting = 2,
        Connected = 3
    };

    // Notification payloads.
    using ParamStatePayload =
        QZ::LPair<QZ::ParamDescriptor, QZ::Variant, &QZ::ParamDescriptorToString>;
    using ParamStatesPayload = QZ::LWrapper<QZ::ParamValues, QZ::LRefCountedObject>;
    using ConnectionStatePayload = QZ::LHolder<DeviceConnectionState>;
    using DeviceCountPayload = QZ::LHolder<unsigned int>;

    static constexpr std::uint32_t kPollPauseMs = 1500;
    static constexpr std::uint32_t kQuickSearchesPerFullSearch = 8;
    static constexpr std::uint32_t kStopWaitPolls = 10000;

    // Creates the worker's threader; nothing else happens until Initialize.
    LRootModuleEngine();
    LRootModuleEngine(const LRootModuleEngine&) = delete;
    LRootModuleEngine& operator=(const LRootModuleEngine&) = delete;
    ~LRootModuleEngine() override;

    // Subscribes the change-request handler at the application centre, creates the interface,
    // the cache of 131 values and the root module placed at firstParamID (the application passes
    // 0), posts all 131 current values once and connects to the directly attached keyboard.
    // The engine must be held by an RCPtr. A failed subscription throws FailedResultException
    // (E_INVALIDARG without an application centre) and leaves the engine uninitialised.
    void Initialize(std::int32_t firstParamID);

    [[nodiscard]] std::int32_t GetFirstParamID() const;
    // The root module's FetchParamValue.
    std::int32_t GetParamValue(const QZ::ParamDescriptor& descriptor, QZ::Variant& value);
    // Fills out with the current values of range.mCount parameters from range.mFirstParamID on,
    // into entries start to start + count - 1 (identifier, empty sub-key, value). start below 0
    // empties out first and counts as 0; out grows when it is smaller. 0.
    std::int32_t GetParamValues(const QZ::ParamRange& range, QZ::Array<QZ::ParamValue>& out,
                                std::int32_t start);
    // In state Connected: the root module's SendParamValue (re-evaluating the connection state
    // when it failed); in any other state E_FAIL and nothing changes.
    std::int32_t SetParamValue(const QZ::ParamDescriptor& descriptor, const QZ::Variant& value);
    // Reports the current values of the listed parameters as changes (posted). 0.
    std::int32_t PostParamStates(const QZ::ParamDescriptors& descriptors);
    // Switching on makes one device search the first time (its failure keeps scanning off and is
    // returned now and by every later attempt) and starts the worker; switching off lets an idle
    // worker stop. 0 when nothing changes.
    std::int32_t EnableDeviceScanning(bool on);
    // Scanning on: copies the engine's device list into out, 0. Scanning off: refreshes the
    // engine's own list by one search and returns its failure or 0; without a device-control
    // library that list is empty and the result 0 (no devices, not a failure).
    std::int32_t GetRemoteDeviceList(QZ::Array<QZ::Variant>& out);
    // Connects the root module to device (empty: the directly attached keyboard); starts the
    // worker when the device is a remote one that is present. The connect result.
    std::int32_t ConnectToDevice(const QZ::Variant& device);
    // The interface's disconnect result.
    std::int32_t Disconnect();

    [[nodiscard]] DeviceConnectionState GetDeviceConnectionState();
    [[nodiscard]] bool IsInitialized() const { return mInitialized.load(); }

    // Delivers through the handler once the engine is initialised.
    void ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>& sender,
                             const QZ::RCPtr<QZ::LNotification>& notification) override;
    QZ::QZRESULT Unsubscribe(const QZ::RCPtr<QZ::LNotificationDistributor>& distributor,
                             const char16_t* identifier) override;
    // Stops the worker and waits for it, then drops the subscriptions. 0 when nothing else holds
    // the engine afterwards, else E_FAIL.
    QZ::QZRESULT ReleaseInternalReferences() override;

private:
    // The root module's change callback (context: the engine).
    static int OnParamStatesChangedCallback(void* context, QZ::Array<QZ::ParamValue>* changes);
    // 1 or 2 changes: one LPair notification each; 3 or more: one list notification.
    void OnParamStatesChanged(const QZ::Array<QZ::ParamValue>& changes);
    QZ::QZRESULT OnParamModuleChangeReq(const QZ::RCPtr<QZ::LNotificationDistributor>& sender,
                                        const QZ::RCPtr<QZ::LNotification>& notification);
    void UpdateConnectionState();
    // The polling worker's run.
    QZ::QZRESULT DoWork(const QZ::RCPtr<QZ::LRefCountedObject>& params) override;
    void PollOnce(std::uint32_t& quickSearches, bool& found, QZ::Array<QZ::Variant>& local);
    void QuickSearch(QZ::Array<QZ::Variant>& local);
    void FullSearch(QZ::Array<QZ::Variant>& local, bool& found);
    // Takes list as the engine's device list and posts its size when it differs.
    void TakeDeviceList(const QZ::Array<QZ::Variant>& list, bool onlyWhenChanged);
    QZ::QZRESULT StartWorker();
    bool StopWorkerAndWait();
    void StopWorkerIfIdle();
    void RequestStop();
    [[nodiscard]] bool IsWorkerRunning();
    // Sleeps kPollPauseMs or until a stop is requested.
    void PauseBetweenPolls();
    static void Post(const char16_t* identifier, const QZ::RCPtr<QZ::LRefCountedObject>& payload);

    QZ::RCPtr<QZ::LNotificationHandler<LRootModuleEngine>> mHandler;
    std::atomic<bool> mInitialized{false};
    bool mDeviceCommUnavailable = false;
    std::atomic<bool> mStopRequested{true};
    std::atomic<bool> mScanningEnabled{false};
    bool mFirstSearchDone = false;
    std::atomic<bool> mConnecting{false};
    std::int32_t mFirstSearchResult = 0;
    // Guarded by mLock, as are the two below.
    DeviceConnectionState mConnectionState = NotConnected;
    QZ::Array<QZ::Variant> mRemoteDevices;
    QZ::Variant mCurrentDevice;
    QZ::RCPtr<LDeviceCommunicationInterface> mDeviceComm;
    QZ::RCPtr<QZ::LParamCache> mParamCache;
    QZ::RCPtr<LRootModule> mRootModule;
    QZ::Mutex mLock;
    // Set while a stop is requested, so that the worker's pauses end at once.
    QZ::Event mStopEvent{false};
    QZ::RetriggerableThreader mThreader;
};

// The engine held by the application object; null when there is none.
[[nodiscard]] QZ::RCPtr<LRootModuleEngine> GetRootModuleEngine();
