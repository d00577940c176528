#include "Engine/RededoVuvuvaCommon/MidiManager.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "Engine/RededoVuvuvaCommon/SysExSender.h"
#include "QZFramework/Midi/MidiCaptureNotificationData.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <optional>
#include <ostream>
#include <vector>

namespace QZ
{
namespace
{

using Preset = Array<ParamValue>;

constexpr const char* kGetPresetMethod = "QZ::LMidiManager::GetPresetFromMidiDevice";
constexpr const char* kRequestMethod = "QZ::LMidiManager::RequestNonPresetParameterFromDevice";
constexpr const char* kFirmwareMethod = "QZ::LMidiManager::IsDeviceFirmwareVersionUseable";

// The engine's current preset: false unless it delivers exactly the 131 preset values.
bool GetCurrentPreset(LRootModuleEngine& engine, Preset& values)
{
    const ParamRange range{engine.GetFirstParamID(), kPresetParamCount};
    return engine.GetParamValues(range, values, -1) >= 0 &&
           values.GetCount() == static_cast<std::int32_t>(kPresetParamCount);
}

std::int32_t GetFixedSize(const ParamValue& value, std::int32_t firstParamID)
{
    return static_cast<std::int32_t>(
        GetPresetParamValueSize(value.mDescriptor.mParamID, firstParamID));
}

// The send-preset body for slot, its value area filled with values. E_FAIL when a value is not a
// byte string of its parameter's fixed size or holds a byte of 80 or above.
QZRESULT BuildPresetBody(std::uint8_t slot, const Preset& values, std::int32_t firstParamID,
                         SysExMessage& message)
{
    if (Failed(BuildSendPresetMessage(slot, message)))
    {
        return E_FAIL;
    }
    std::int32_t position = kSendPresetValueOffset;
    for (std::int32_t k = 0; k < values.GetCount(); ++k)
    {
        const ParamValue& value = values.GetAt(k);
        std::uint32_t size = 0;
        const void* data = value.mValue.GetData(size);
        if (value.mValue.GetType() != Variant::TagBytes ||
            static_cast<std::int32_t>(size) != GetFixedSize(value, firstParamID) ||
            Failed(PutPresetValue(message, position, static_cast<const signed char*>(data),
                                  static_cast<std::int32_t>(size))))
        {
            return E_FAIL;
        }
    }
    return position == kSendPresetBodyLength ? S_OK : E_FAIL;
}

// Where each value of current starts in the dump, cut by the fixed sizes; false unless the
// values fill the dump's value area exactly. The values themselves are made only as they are
// written, so that a take-over copies each one once.
bool CutPresetDump(const IArray<signed char>& dump, const Preset& current,
                   std::int32_t firstParamID, std::vector<std::int32_t>& starts)
{
    const std::int32_t end = kPresetDumpValueOffset + kPresetValueAreaLength;
    if (dump.GetCount() < end)
    {
        return false;
    }
    starts.clear();
    starts.reserve(static_cast<std::size_t>(current.GetCount()) + 1);
    std::int32_t position = kPresetDumpValueOffset;
    for (std::int32_t k = 0; k < current.GetCount(); ++k)
    {
        const std::int32_t size = GetFixedSize(current.GetAt(k), firstParamID);
        if (size == 0 || size > end - position)
        {
            return false;
        }
        starts.push_back(position);
        position += size;
    }
    starts.push_back(position);
    return position == end;
}

// Puts back the values of before from last down to the first.
void RestorePreset(LRootModuleEngine& engine, const Preset& before, std::int32_t last)
{
    for (std::int32_t k = last; k >= 0; --k)
    {
        static_cast<void>(
            engine.SetParamValue(before.GetAt(k).mDescriptor, before.GetAt(k).mValue));
    }
}

// The request a reply answers; none for a message that is no reply of the keyboard's.
std::optional<MidiReplyKey> GetReplyKey(const IArray<signed char>& reply)
{
    if (IsIdentityReply(reply))
    {
        return MidiReplyKey{MidiReplyKey::Kind::Identity, 0};
    }
    const std::int32_t slot = GetPresetDumpSlot(reply);
    if (slot >= 0)
    {
        return MidiReplyKey{MidiReplyKey::Kind::PresetDump, slot};
    }
    const std::int32_t index = GetGlobalParameterIndexFromReply(reply);
    if (index >= 0)
    {
        return MidiReplyKey{MidiReplyKey::Kind::GlobalParameter, index};
    }
    return std::nullopt;
}

// Ends a claimed delivery however the handler leaves.
class DeliveryScope
{
public:
    explicit DeliveryScope(MidiTransaction& transaction) : mTransaction(transaction) {}
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;
    ~DeliveryScope() { mTransaction.Release(); }

private:
    MidiTransaction& mTransaction;
};

void LogDroppedReply(const IArray<signed char>& reply, const char* why)
{
    DebugStreams::Narrow() << "QZ::LMidiManager::OnMidiDataCaptured: dropped a System Exclusive "
                              "message of "
                           << reply.GetCount() << " bytes: " << why << std::endl;
}

} // namespace

LMidiManager::LMidiManager(std::uint32_t replyWaitMs, MidiPacing& pacing)
    : mReplyWaitMs(replyWaitMs), mPacing(pacing),
      mHandler(new LNotificationHandler<LMidiManager>(this)),
      mTransaction(std::chrono::milliseconds(std::int64_t{kTries} * replyWaitMs), pacing)
{
    mPresetLight.SetGreen();
    mGlobalLight.SetGreen();
    mIdentityLight.SetGreen();
}

LMidiManager::~LMidiManager() = default;

void LMidiManager::Create(RCPtr<LMidiManager>& out, std::uint32_t replyWaitMs,
                          MidiPacing& pacing)
{
    out = new LMidiManager(replyWaitMs, pacing);
    if (out->mHandler)
    {
        const RCPtr<LMidiCommInterface> service = CreateMidiComm();
        Mutex::ScopedLock lock(out->mServiceLock);
        out->mService = service;
    }
}

std::int32_t LMidiManager::SendPresetToMidiDevice(std::uint8_t slot)
{
    if (mCancelled.load())
    {
        return kCancelled;
    }
    if (!OpenPorts(kInputPortName, kOutputPortName))
    {
        return kMidiError;
    }
    const std::int32_t firmware = TestFirmware();
    if (firmware != S_OK)
    {
        return firmware;
    }
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    RCPtr<LRefCountedObject> output;
    if (!service || Failed(service->GetRenderPort(kOutputPortName, output)))
    {
        return kMidiError;
    }
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Preset values;
    SysExMessage message;
    if (!engine || !GetCurrentPreset(*engine, values) ||
        Failed(BuildPresetBody(slot, values, engine->GetFirstParamID(), message)))
    {
        return kMidiError;
    }
    const std::int32_t sent = SendSysExMessage(message, output, false);
    return sent < 0 ? kMidiError : sent;
}

std::int32_t LMidiManager::GetPresetFromMidiDevice(std::uint8_t slot)
{
    if (mCancelled.load())
    {
        return kCancelled;
    }
    if (!OpenPorts(kInputPortName, kOutputPortName))
    {
        return kMidiError;
    }
    const std::int32_t firmware = TestFirmware();
    if (firmware != S_OK)
    {
        return firmware;
    }
    SysExMessage request;
    if (Failed(BuildGetPresetMessage(slot, request)))
    {
        return kMidiError;
    }
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    RCPtr<LRefCountedObject> output;
    RCPtr<LRefCountedObject> input;
    if (!service || Failed(service->GetRenderPort(kOutputPortName, output)) ||
        Failed(service->GetCapturePort(kInputPortName, input)))
    {
        return kMidiError;
    }
    return RunTransaction(
        service, MidiReplyKey{MidiReplyKey::Kind::PresetDump, slot}, mPresetLight,
        [&] { return SendSysExMessage(request, output, false); }, true, kGetPresetMethod);
}

std::int32_t LMidiManager::SendGlobalParameter(const WideString& name, std::int32_t value,
                                               bool skipFirmwareCheck)
{
    if (mCancelled.load())
    {
        return kCancelled;
    }
    if (!OpenPorts(kInputPortName, kOutputPortName))
    {
        return kMidiError;
    }
    const std::int32_t firmware = skipFirmwareCheck ? S_OK : TestFirmware();
    if (firmware != S_OK)
    {
        return firmware;
    }
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    RCPtr<LRefCountedObject> output;
    if (!service || Failed(service->GetRenderPort(kOutputPortName, output)))
    {
        return kMidiError;
    }
    SysExMessage message;
    const QZRESULT built = BuildGlobalParameterMessage(name, value, message);
    if (Failed(built))
    {
        return built;
    }
    const std::int32_t sent = SendSysExMessage(message, output, false);
    return sent < 0 ? kMidiError : sent;
}

std::int32_t LMidiManager::RequestNonPresetParameterFromDevice(const WideString& name,
                                                               bool skipFirmwareCheck)
{
    if (mCancelled.load())
    {
        return kCancelled;
    }
    if (!OpenPorts(kInputPortName, kOutputPortName))
    {
        return E_FAIL;
    }
    const std::int32_t firmware = skipFirmwareCheck ? S_OK : TestFirmware();
    if (firmware != S_OK)
    {
        return firmware;
    }
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    RCPtr<LRefCountedObject> output;
    RCPtr<LRefCountedObject> input;
    if (!service || Failed(service->GetRenderPort(kOutputPortName, output)) ||
        Failed(service->GetCapturePort(kInputPortName, input)))
    {
        return kMidiError;
    }
    SysExMessage request;
    const QZRESULT built = BuildGlobalParameterRequest(request, name);
    if (Failed(built))
    {
        return built;
    }
    if (Failed(request.Add(static_cast<signed char>(kSysExEnd))))
    {
        return E_FAIL;
    }
    const MidiReplyKey key{MidiReplyKey::Kind::GlobalParameter, GetGlobalParameterIndex(name)};
    return RunTransaction(
        service, key, mGlobalLight, [&] { return SendSysExMessage(request, output, false); }, false,
        kRequestMethod);
}

void LMidiManager::CancelExchanges()
{
    mCancelled.store(true);
    mPresetLight.SetGreen();
    mGlobalLight.SetGreen();
    mIdentityLight.SetGreen();
}

bool LMidiManager::ArePortsAvailable()
{
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    return service && service->IsCapturePortAvailable(kInputPortName) &&
           service->IsRenderPortAvailable(kOutputPortName);
}

bool LMidiManager::IsDeviceFirmwareVersionUseable()
{
    return TestFirmware() == S_OK;
}

std::int32_t LMidiManager::TestFirmware()
{
    // A keyboard that cannot be reached, or goes away before it answers, gave no reply: that is
    // not a keyboard whose firmware is too old.
    if (!OpenPorts(kInputPortName, kOutputPortName))
    {
        return kNoReply;
    }
    const RCPtr<LMidiCommInterface> service = GetMidiComm();
    RCPtr<LRefCountedObject> output;
    RCPtr<LRefCountedObject> input;
    if (!service || Failed(service->GetRenderPort(kOutputPortName, output)) ||
        Failed(service->GetCapturePort(kInputPortName, input)))
    {
        return kNoReply;
    }
    const std::int32_t result = RunTransaction(
        service, MidiReplyKey{MidiReplyKey::Kind::Identity, 0}, mIdentityLight,
        [&] { return SendIdentityRequest(output); }, false, kFirmwareMethod);
    return result == kMidiError ? kNoReply : result;
}

std::int32_t LMidiManager::SendIdentityRequest(const RCPtr<LRefCountedObject>& outputPort)
{
    if (!outputPort)
    {
        return E_FAIL;
    }
    IdentityRequestMessage request = BuildIdentityRequest();
    return SendSysExMessage(request, outputPort, false);
}

bool LMidiManager::OpenPorts(const WideString& inputName, const WideString& outputName)
{
    RCPtr<LMidiCommInterface> previous = GetMidiComm();
    static_cast<void>(UnsubscribeCapture(previous));
    const RCPtr<LMidiCommInterface> service = CreateMidiComm();
    {
        Mutex::ScopedLock lock(mServiceLock);
        mService = service;
    }
    // The previous service is let go outside the lock; a delivery of it still under way can take
    // nothing, since no transaction is open between two.
    previous.Reset();
    static_cast<void>(SubscribeCapture(service));
    if (!service)
    {
        return false;
    }
    RCPtr<LRefCountedObject> input;
    RCPtr<LRefCountedObject> output;
    return Succeeded(service->GetCapturePort(inputName, input)) &&
           Succeeded(service->GetRenderPort(outputName, output));
}

std::int32_t LMidiManager::SendSysExMessage(IArray<signed char>& message,
                                            const RCPtr<LRefCountedObject>& port, bool noPreamble)
{
    return QZ::SendSysExMessage(GetMidiComm(), message, port, noPreamble, mPacing);
}

RCPtr<LMidiCommInterface> LMidiManager::GetMidiComm() const
{
    Mutex::ScopedLock lock(mServiceLock);
    return mService;
}

void LMidiManager::SetTakeOverHook(std::function<void(std::int32_t written)> hook)
{
    std::lock_guard<std::mutex> lock(mHookLock);
    mTakeOverHook = std::move(hook);
}

void LMidiManager::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification)
{
    if (mHandler)
    {
        static_cast<void>(mHandler->HandleNotification(sender, notification));
    }
}

QZRESULT LMidiManager::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                   const char16_t* identifier)
{
    if (mHandler)
    {
        static_cast<void>(mHandler->RemoveHandler(distributor, identifier));
    }
    return LNotificationClient::Unsubscribe(distributor, identifier);
}

QZRESULT LMidiManager::OnMidiDataCaptured(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LMidiCaptureNotificationData> data =
        notification
            ? RCPtr<LMidiCaptureNotificationData>::DynamicCastFrom(notification->GetPayload())
            : RCPtr<LMidiCaptureNotificationData>();
    // Most messages are short ones, which no reply is; they are told apart before any lock.
    if (!data || data->GetData().GetCount() == 0 ||
        static_cast<std::uint8_t>(*data->GetData().GetItemPtr(0)) != kSysExStart ||
        !IsCurrentService(sender.Get()))
    {
        return S_FALSE;
    }
    // The message is read where it arrived; data holds it until the handler returns.
    const IArray<signed char>& reply = data->GetData();
    const std::optional<MidiReplyKey> key = GetReplyKey(reply);
    if (!key)
    {
        LogDroppedReply(reply, "no reply of the keyboard's");
        return S_FALSE;
    }
    if (!mTransaction.Claim(*key))
    {
        LogDroppedReply(reply, "no request waits for it");
        return S_FALSE;
    }
    const DeliveryScope delivery(mTransaction);
    switch (key->kind)
    {
    case MidiReplyKey::Kind::PresetDump:
        TakeOverPreset(reply);
        break;
    case MidiReplyKey::Kind::GlobalParameter:
        if (mTransaction.Settle(S_OK))
        {
            AnnounceGlobalParameter(reply);
            mGlobalLight.SetGreen();
        }
        break;
    case MidiReplyKey::Kind::Identity:
        if (!IsFirmwareVersionReplyUseable(reply))
        {
            mTransaction.Remember(kFirmwareNotUseable);
        }
        else if (mTransaction.Settle(S_OK))
        {
            mIdentityLight.SetGreen();
        }
        break;
    }
    return S_FALSE;
}

bool LMidiManager::IsCurrentService(const LNotificationDistributor* sender) const
{
    Mutex::ScopedLock lock(mServiceLock);
    const LNotificationDistributor* current = mService.Get();
    return sender != nullptr && sender == current;
}

void LMidiManager::TakeOverPreset(const IArray<signed char>& dump)
{
    std::function<void(std::int32_t)> hook;
    {
        std::lock_guard<std::mutex> lock(mHookLock);
        hook = mTakeOverHook;
    }
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Preset before;
    std::vector<std::int32_t> starts;
    if (!engine || !GetCurrentPreset(*engine, before) ||
        !CutPresetDump(dump, before, engine->GetFirstParamID(), starts))
    {
        static_cast<void>(mTransaction.Settle(kMidiError));
        mPresetLight.SetGreen();
        return;
    }
    Variant value;
    for (std::int32_t k = 0; k < before.GetCount(); ++k)
    {
        if (hook)
        {
            hook(k);
        }
        if (!mTransaction.IsOpen())
        {
            RestorePreset(*engine, before, k - 1);
            return;
        }
        const auto index = static_cast<std::size_t>(k);
        value.SetBytes(dump.GetItemPtr(starts[index]),
                       static_cast<std::uint32_t>(starts[index + 1] - starts[index]));
        if (engine->SetParamValue(before.GetAt(k).mDescriptor, value) < 0)
        {
            RestorePreset(*engine, before, k);
            static_cast<void>(mTransaction.Settle(kMidiError));
            mPresetLight.SetGreen();
            return;
        }
    }
    // The fetch may have ended since the last check; then it reported failure and the engine
    // must not keep the preset.
    if (!mTransaction.Settle(S_OK))
    {
        RestorePreset(*engine, before, before.GetCount() - 1);
        return;
    }
    mPresetLight.SetGreen();
}

void LMidiManager::AnnounceGlobalParameter(const IArray<signed char>& reply)
{
    const RCPtr<LMidiParameterNotification> parameter(new LMidiParameterNotification());
    parameter->SetName(GetGlobalParameterNameFromReply(reply));
    parameter->SetValue(GetGlobalParameterValueFromReply(reply));
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_MIDIMANAGER_PARAMETER_RECIEVED, parameter);
    static_cast<void>(Distribute(notification));
}

QZRESULT LMidiManager::SubscribeCapture(const RCPtr<LMidiCommInterface>& service)
{
    return mHandler->AddHandler(&LMidiManager::OnMidiDataCaptured, service, NID_MIDI_DATA_CAPTURED,
                                0);
}

QZRESULT LMidiManager::UnsubscribeCapture(const RCPtr<LMidiCommInterface>& service)
{
    const RCPtr<LNotificationDistributor> distributor(service);
    const QZRESULT result = LNotificationClient::Unsubscribe(distributor, NID_MIDI_DATA_CAPTURED);
    return mHandler->RemoveHandler(distributor, NID_MIDI_DATA_CAPTURED) ? result : E_FAIL;
}

std::int32_t LMidiManager::RunTransaction(const RCPtr<LMidiCommInterface>& service,
                                          const MidiReplyKey& key, TrafficLight& light,
                                          const std::function<std::int32_t()>& send,
                                          bool stopOnFailure, const char* method)
{
    const QZRESULT subscribed = SubscribeCapture(service);
    if (Failed(subscribed))
    {
        QZ_THROW_FAILED_RESULT(subscribed, method);
    }
    mTransaction.Begin(key);
    light.SetRed();
    std::int32_t unsettled = kNoReply;
    for (std::int32_t attempt = 0; attempt < kTries; ++attempt)
    {
        // The light is set red before the flag is read, so a cancel after the reading finds the
        // light red and its green ends the wait below.
        if (mCancelled.load())
        {
            break;
        }
        mTransaction.NoteRequest();
        if (send() < 0)
        {
            unsettled = kMidiError;
            if (stopOnFailure)
            {
                break;
            }
            continue;
        }
        unsettled = kNoReply;
        if (mPacing.WaitForGreen(light, mReplyWaitMs))
        {
            break;
        }
    }
    std::int32_t outcome = mTransaction.End(unsettled);
    if (outcome < 0 && mCancelled.load())
    {
        outcome = kCancelled;
    }
    light.SetGreen();
    const QZRESULT unsubscribed = UnsubscribeCapture(service);
    if (Failed(unsubscribed))
    {
        QZ_THROW_FAILED_RESULT(unsubscribed, method);
    }
    return outcome;
}

} // namespace QZ
