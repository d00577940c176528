#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <limits>
#include <thread>

using QZ::ParamDescriptor;
using QZ::RCPtr;
using QZ::Variant;

namespace
{

bool AreEqual(const QZ::Array<Variant>& a, const QZ::Array<Variant>& b)
{
    if (a.GetCount() != b.GetCount())
    {
        return false;
    }
    for (std::int32_t i = 0; i < a.GetCount(); ++i)
    {
        if (!(a.GetAt(i) == b.GetAt(i)))
        {
            return false;
        }
    }
    return true;
}

} // namespace

LRootModuleEngine::LRootModuleEngine() : mThreader(u"RootModuleEngine") {}

LRootModuleEngine::~LRootModuleEngine()
{
    if (mRootModule)
    {
        static_cast<void>(mRootModule->StopReceiving());
    }
}

void LRootModuleEngine::Initialize(std::int32_t firstParamID)
{
    mHandler = new QZ::LNotificationHandler<LRootModuleEngine>(this);
    const RCPtr<QZ::LNotificationCenter> center = QZ::GetApplicationNotificationCenter();
    const QZ::QZRESULT subscribed =
        center ? mHandler->AddHandler(&LRootModuleEngine::OnParamModuleChangeReq, center,
                                      QZ::NID_PARAM_MODULE_CHANGE_REQ, 0)
               : QZ::E_INVALIDARG;
    if (QZ::Failed(subscribed))
    {
        QZ_THROW_FAILED_RESULT(subscribed, "LRootModuleEngine::Initialize");
    }
    mDeviceComm = new LDeviceCommunicationInterface();
    mParamCache = new QZ::LParamCache(kPresetParamCount);
    QZ::Array<Variant> localDevices;
    if (QZ::Failed(mDeviceComm->Initialize()))
    {
        mDeviceCommUnavailable = true;
    }
    else
    {
        static_cast<void>(mDeviceComm->GetLocalDeviceList({}, localDevices));
    }
    mRootModule = LRootModule::Create(mDeviceCommUnavailable);
    mRootModule->Initialize(&LRootModuleEngine::OnParamStatesChangedCallback, this, mParamCache,
                            mDeviceComm, firstParamID);
    mInitialized = true;
    static_cast<void>(PostParamStates(
        QZ::ParamDescriptors(QZ::ParamRange{mRootModule->GetFirstParamID(), kPresetParamCount})));
    if (!mDeviceCommUnavailable && localDevices.GetCount() > 0)
    {
        static_cast<void>(ConnectToDevice(localDevices.GetAt(0)));
    }
}

std::int32_t LRootModuleEngine::GetFirstParamID() const
{
    return mRootModule ? mRootModule->GetFirstParamID() : 0;
}

std::int32_t LRootModuleEngine::GetParamValue(const ParamDescriptor& descriptor, Variant& value)
{
    if (!mRootModule)
    {
        value.Clear();
        return QZ::E_FAIL;
    }
    return mRootModule->FetchParamValue(descriptor, value);
}

std::int32_t LRootModuleEngine::GetParamValues(const QZ::ParamRange& range,
                                               QZ::Array<QZ::ParamValue>& out, std::int32_t start)
{
    if (start < 0)
    {
        static_cast<void>(out.SetCount(0));
        start = 0;
    }
    const auto count = static_cast<std::int32_t>(range.mCount);
    // A run that would end past the index range reads nothing.
    if (count <= 0 || start > std::numeric_limits<std::int32_t>::max() - count)
    {
        return 0;
    }
    if (out.GetCount() < start + count)
    {
        static_cast<void>(out.SetCount(start + count));
    }
    // A preset's worth of values is read at a time: each is written where it goes, under one hold
    // of the root module's lock. The last entry is asked for first, so that a list that could not
    // grow throws as GetAt does rather than being written past its end.
    if (mRootModule)
    {
        static_cast<void>(out.GetAt(start + count - 1));
        mRootModule->ReadParamValues(range, &out.GetAt(start));
        return 0;
    }
    for (std::int32_t k = 0; k < count; ++k)
    {
        QZ::ParamValue& entry = out.GetAt(start + k);
        entry.mDescriptor = ParamDescriptor(static_cast<std::int32_t>(
            static_cast<std::uint32_t>(range.mFirstParamID) + static_cast<std::uint32_t>(k)));
        entry.mValue.Clear();
    }
    return 0;
}

std::int32_t LRootModuleEngine::SetParamValue(const ParamDescriptor& descriptor,
                                              const Variant& value)
{
    if (GetDeviceConnectionState() != Connected)
    {
        return QZ::E_FAIL;
    }
    const std::int32_t result = mRootModule->SendParamValue(descriptor, value);
    if (result < 0)
    {
        UpdateConnectionState();
    }
    return result;
}

std::int32_t LRootModuleEngine::PostParamStates(const QZ::ParamDescriptors& descriptors)
{
    const std::uint32_t count = descriptors.GetListItemCount();
    if (count == 0 || !mRootModule)
    {
        return 0;
    }
    QZ::Array<QZ::ParamValue> states(static_cast<std::int32_t>(count));
    for (std::uint32_t index = 0; index < count; ++index)
    {
        ParamDescriptor descriptor;
        static_cast<void>(descriptors.GetItem(index, descriptor.mParamID, descriptor.mSubKey));
        states.GetAt(static_cast<std::int32_t>(index)) =
            QZ::ParamValue(descriptor, mRootModule->ReadParamValue(descriptor));
    }
    OnParamStatesChanged(states);
    return 0;
}

std::int32_t LRootModuleEngine::EnableDeviceScanning(bool on)
{
    if (mScanningEnabled.load() == on)
    {
        return 0;
    }
    mScanningEnabled = on;
    if (!on)
    {
        StopWorkerIfIdle();
        return 0;
    }
    if (!mFirstSearchDone)
    {
        QZ::Array<Variant> devices;
        mFirstSearchResult = mDeviceComm
                                 ? mDeviceComm->WaitForRemoteDeviceListChange({}, devices, 0)
                                 : LDeviceCommunicationInterface::kNoClient;
        mFirstSearchDone = true;
    }
    if (mFirstSearchResult < 0)
    {
        mScanningEnabled = false;
        return mFirstSearchResult;
    }
    static_cast<void>(StartWorker());
    return mFirstSearchResult;
}

std::int32_t LRootModuleEngine::GetRemoteDeviceList(QZ::Array<Variant>& out)
{
    if (mScanningEnabled.load())
    {
        QZ::Mutex::ScopedLock lock(mLock);
        out = mRemoteDevices;
        return 0;
    }
    QZ::Array<Variant> devices;
    std::int32_t result = 0;
    if (mDeviceComm && mDeviceComm->IsLibraryLoaded())
    {
        result = mDeviceComm->WaitForRemoteDeviceListChange({}, devices, 0);
    }
    else
    {
        static_cast<void>(devices.SetCount(0));
    }
    QZ::Mutex::ScopedLock lock(mLock);
    mRemoteDevices = devices;
    return result < 0 ? result : 0;
}

std::int32_t LRootModuleEngine::ConnectToDevice(const Variant& device)
{
    mConnecting = true;
    static_cast<void>(Disconnect());
    std::int32_t result = LDeviceCommunicationInterface::kNoClient;
    bool startWorker = false;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        result = mRootModule ? mRootModule->ConnectDevice(device) : result;
        if (result >= 0)
        {
            mCurrentDevice = device;
            OXLI_DeviceInfo info;
            startWorker = device.GetType() != Variant::TagEmpty &&
                          mDeviceComm->GetDeviceInfo(device, info) >= 0 &&
                          QZ::DeviceControlClientInterface::IsDevicePresent(info);
        }
        else
        {
            mCurrentDevice.Clear();
        }
    }
    // Started after the lock is left: starting may wait for a stopping run, which takes the lock.
    if (startWorker)
    {
        static_cast<void>(StartWorker());
    }
    mConnecting = false;
    UpdateConnectionState();
    StopWorkerIfIdle();
    return result;
}

std::int32_t LRootModuleEngine::Disconnect()
{
    std::int32_t result = LDeviceCommunicationInterface::kNoClient;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        mCurrentDevice.Clear();
        if (mDeviceComm)
        {
            result = mDeviceComm->DisconnectDevice();
        }
    }
    if (!mConnecting.load())
    {
        UpdateConnectionState();
        StopWorkerIfIdle();
    }
    return result;
}

LRootModuleEngine::DeviceConnectionState LRootModuleEngine::GetDeviceConnectionState()
{
    QZ::Mutex::ScopedLock lock(mLock);
    return mConnectionState;
}

void LRootModuleEngine::ReceiveNotification(const RCPtr<QZ::LNotificationDistributor>& sender,
                                            const RCPtr<QZ::LNotification>& notification)
{
    if (mInitialized.load() && mHandler)
    {
        static_cast<void>(mHandler->HandleNotification(sender, notification));
    }
}

QZ::QZRESULT LRootModuleEngine::Unsubscribe(const RCPtr<QZ::LNotificationDistributor>& distributor,
                                            const char16_t* identifier)
{
    if (mHandler)
    {
        static_cast<void>(mHandler->RemoveHandler(distributor, identifier));
    }
    return LNotificationClient::Unsubscribe(distributor, identifier);
}

QZ::QZRESULT LRootModuleEngine::ReleaseInternalReferences()
{
    static_cast<void>(StopWorkerAndWait());
    static_cast<void>(LNotificationClient::ReleaseInternalReferences());
    return GetRefCount() == 1 && GetInternalRefCount() == 0 ? QZ::S_OK : QZ::E_FAIL;
}

int LRootModuleEngine::OnParamStatesChangedCallback(void* context,
                                                    QZ::Array<QZ::ParamValue>* changes)
{
    if (context != nullptr && changes != nullptr)
    {
        static_cast<LRootModuleEngine*>(context)->OnParamStatesChanged(*changes);
    }
    return 0;
}

void LRootModuleEngine::OnParamStatesChanged(const QZ::Array<QZ::ParamValue>& changes)
{
    // Every value written reports here; the identifier is looked up by its text only once.
    static const char16_t* const stateChange =
        QZ::GetNotificationID(QZ::NID_PARAM_MODULE_STATE_CHANGE);
    const std::int32_t count = changes.GetCount();
    if (count == 0)
    {
        return;
    }
    if (count <= 2)
    {
        for (std::int32_t i = 0; i < count; ++i)
        {
            const QZ::ParamValue& change = changes.GetAt(i);
            Post(stateChange, RCPtr<QZ::LRefCountedObject>(
                                  new ParamStatePayload(change.mDescriptor, change.mValue)));
        }
        return;
    }
    RCPtr<ParamStatesPayload> states(new ParamStatesPayload(QZ::ParamValues()));
    static_cast<void>(states->SetItems(changes.GetData(), static_cast<std::uint32_t>(count)));
    Post(stateChange, states);
}

QZ::QZRESULT LRootModuleEngine::OnParamModuleChangeReq(const RCPtr<QZ::LNotificationDistributor>&,
                                                       const RCPtr<QZ::LNotification>& notification)
{
    const auto* request =
        notification ? dynamic_cast<const ParamStatePayload*>(notification->GetPayload().Get())
                     : nullptr;
    if (request != nullptr && GetDeviceConnectionState() == Connected &&
        mRootModule->SendParamValue(request->GetFirst(), request->GetSecond()) < 0)
    {
        UpdateConnectionState();
    }
    return QZ::S_OK;
}

void LRootModuleEngine::UpdateConnectionState()
{
    QZ::Mutex::ScopedLock lock(mLock);
    const DeviceConnectionState state =
        mDeviceComm && mDeviceComm->IsConnected() ? Connected : NotConnected;
    if (state != mConnectionState)
    {
        mConnectionState = state;
        Post(QZ::NID_DEVICE_CONNECTION_STATE_CHANGE,
             RCPtr<QZ::LRefCountedObject>(new ConnectionStatePayload(state)));
    }
}

QZ::QZRESULT LRootModuleEngine::DoWork(const RCPtr<QZ::LRefCountedObject>&)
{
    // The run's back-reference stops counting as internal when the run ends; the threader drops
    // the reference itself right after.
    struct RunEnd
    {
        LRootModuleEngine& engine;
        ~RunEnd() { engine.AdjustCyclicRefCount(-1); }
    } runEnd{*this};
    if (!QZ::GetApplicationNotificationCenter())
    {
        return QZ::S_OK;
    }
    std::uint32_t quickSearches = 0;
    bool found = false;
    QZ::Array<Variant> local;
    while (!mStopRequested.load())
    {
        PollOnce(quickSearches, found, local);
    }
    return QZ::S_OK;
}

void LRootModuleEngine::PollOnce(std::uint32_t& quickSearches, bool& found,
                                 QZ::Array<Variant>& local)
{
    bool present = false;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        if (mCurrentDevice.GetType() != Variant::TagEmpty)
        {
            OXLI_DeviceInfo info;
            present = mDeviceComm->GetDeviceInfo(mCurrentDevice, info) >= 0 &&
                      QZ::DeviceControlClientInterface::IsDevicePresent(info);
        }
    }
    if (present)
    {
        UpdateConnectionState();
    }
    if (!mScanningEnabled.load())
    {
        PauseBetweenPolls();
        return;
    }
    if (!found && quickSearches < kQuickSearchesPerFullSearch)
    {
        ++quickSearches;
        QuickSearch(local);
        return;
    }
    quickSearches = 0;
    FullSearch(local, found);
}

void LRootModuleEngine::QuickSearch(QZ::Array<Variant>& local)
{
    {
        QZ::Mutex::ScopedLock lock(mLock);
        local = mRemoteDevices;
    }
    const std::int32_t result = mDeviceComm->WaitForRemoteDeviceListChange({}, local, kPollPauseMs);
    if (!mStopRequested.load() && result == 0)
    {
        TakeDeviceList(local, false);
    }
}

void LRootModuleEngine::FullSearch(QZ::Array<Variant>& local, bool& found)
{
    static_cast<void>(local.SetCount(0));
    const std::int32_t result = mDeviceComm->FindRemoteDevices({}, local);
    if (mStopRequested.load())
    {
        return;
    }
    if (result >= 0)
    {
        found = result == 1;
        TakeDeviceList(local, true);
    }
    PauseBetweenPolls();
}

void LRootModuleEngine::TakeDeviceList(const QZ::Array<Variant>& list, bool onlyWhenChanged)
{
    {
        QZ::Mutex::ScopedLock lock(mLock);
        if (onlyWhenChanged && AreEqual(list, mRemoteDevices))
        {
            return;
        }
        mRemoteDevices = list;
    }
    Post(QZ::NID_REMOTE_DEVICE_LIST_CHANGE, RCPtr<QZ::LRefCountedObject>(new DeviceCountPayload(
                                                static_cast<unsigned int>(list.GetCount()))));
}

QZ::QZRESULT LRootModuleEngine::StartWorker()
{
    if (IsWorkerRunning())
    {
        if (!mStopRequested.load())
        {
            return QZ::S_FALSE;
        }
        if (!StopWorkerAndWait())
        {
            return QZ::E_FAIL;
        }
    }
    mStopRequested = false;
    mStopEvent.Reset();
    // The threader holds the engine for the run; that reference is counted as internal from
    // now on, so that it is counted before the run starts.
    AdjustCyclicRefCount(1);
    const QZ::QZRESULT triggered =
        mThreader.Trigger(RCPtr<QZ::LThreadWorker>(this), nullptr, QZ::kThreadPriorityNormal);
    if (QZ::Failed(triggered))
    {
        AdjustCyclicRefCount(-1);
        return triggered;
    }
    return QZ::S_OK;
}

bool LRootModuleEngine::StopWorkerAndWait()
{
    if (!IsWorkerRunning())
    {
        return true;
    }
    RequestStop();
    for (std::uint32_t poll = 0; poll < kStopWaitPolls && IsWorkerRunning(); ++poll)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !IsWorkerRunning();
}

void LRootModuleEngine::StopWorkerIfIdle()
{
    if (!IsWorkerRunning() || mStopRequested.load() || mScanningEnabled.load() ||
        mConnecting.load())
    {
        return;
    }
    bool stop = false;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        if (mConnectionState == NotConnected)
        {
            stop = true;
        }
        else if (mConnectionState == Connected)
        {
            OXLI_DeviceInfo info;
            stop = !(mDeviceComm->GetDeviceInfo(mCurrentDevice, info) >= 0 &&
                     QZ::DeviceControlClientInterface::IsDevicePresent(info));
        }
    }
    if (stop)
    {
        RequestStop();
    }
}

void LRootModuleEngine::RequestStop()
{
    mStopRequested = true;
    mStopEvent.Set();
}

bool LRootModuleEngine::IsWorkerRunning()
{
    // A run on the worker's own thread is ending when it asks.
    return !mThreader.IsCurrentThread() && mThreader.IsBusy();
}

void LRootModuleEngine::PauseBetweenPolls()
{
    static_cast<void>(mStopEvent.Wait(kPollPauseMs));
}

void LRootModuleEngine::Post(const char16_t* identifier,
                             const RCPtr<QZ::LRefCountedObject>& payload)
{
    const RCPtr<QZ::LNotificationCenter> center = QZ::GetApplicationNotificationCenter();
    if (!center)
    {
        return;
    }
    RCPtr<QZ::LNotification> notification;
    QZ::LNotification::Create(notification, identifier, payload);
    static_cast<void>(center->Post(notification));
}
