#include "UI/DriverCommon/MainControl.h"

#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "UI/DriverCommon/AppServices.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "QZ::LMainControl::Initialize";
// The engine's signal that the device configuration changed (with an empty value).
constexpr std::int32_t kDeviceConfigurationID = -2;
// The device's information text; nothing in the view shows it.
constexpr std::int32_t kDeviceInformationID = -8;
constexpr std::int32_t kIdleParamID = -1;

using ParamStatePayload = LRootModuleEngine::ParamStatePayload;
using ParamStatesPayload = LRootModuleEngine::ParamStatesPayload;

} // namespace

LMainControl::LMainControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived), IRootModule(false), mAppliedState(kIdleParamID)
{
}

LMainControl::~LMainControl() = default;

QZRESULT LMainControl::Initialize()
{
    QZRESULT result = LControl::Initialize();
    if (Succeeded(result))
    {
        mHandler = new LNotificationHandler<LMainControl>(this);
        mDeviceView = FindChildByName(WideString(u"viewDevice"));
        mDevice = dynamic_cast<IDevice*>(mDeviceView.Get());
        if (mDevice == nullptr)
        {
            mDeviceView = nullptr;
            QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "LMainControl couldn't find viewDevice");
        }
        mStatusPanel = FindChildByName(WideString(u"viewStatus"));
        mDeviceSelectorPanel = FindChildByName(WideString(u"panelDeviceSelector"));
        const QZRESULT subscribed = mHandler->AddHandler(
            &LMainControl::OnParamModuleStateChange,
            RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter().Get()),
            NID_PARAM_MODULE_STATE_CHANGE, 0);
        if (Failed(subscribed))
        {
            QZ_THROW_FAILED_RESULT(subscribed, kInitialize);
        }
        const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
        SetFirstParamID(nullptr, engine ? engine->GetFirstParamID() : 0, 0);
    }
    EnableDeviceScanning();
    return result;
}

QZRESULT LMainControl::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mDeviceView = nullptr;
    mDevice = nullptr;
    mStatusPanel = nullptr;
    mDeviceSelectorPanel = nullptr;
    return LControl::ReleaseInternalReferences();
}

QZRESULT LMainControl::OnWindowRectRequest(RectT<double>&)
{
    EnableDeviceScanning();
    return S_OK;
}

void LMainControl::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LMainControl::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                   const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

std::int32_t LMainControl::SendParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    if (descriptor == mAppliedState)
    {
        return 0;
    }
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const std::int32_t result = engine ? engine->SetParamValue(descriptor, value) : E_FAIL;
    if (result < 0)
    {
        DebugStreams::Narrow() << "QZ::LMainControl::SendParamValue: the engine refused the value "
                                  "of parameter "
                               << descriptor.mParamID << " (result " << result << ")" << std::endl;
        Variant current;
        if (engine && engine->GetParamValue(descriptor, current) >= 0)
        {
            ApplyParamState(descriptor, current);
        }
    }
    return result;
}

RCPtr<LDeviceCommunicationInterface> LMainControl::GetDeviceCommunicationInterface()
{
    return nullptr;
}

RCPtr<IDevice> LMainControl::GetDevice()
{
    return RCPtr<IDevice>(mDevice);
}

QZRESULT LMainControl::OnParamModuleStateChange(const RCPtr<LNotificationDistributor>&,
                                                const RCPtr<LNotification>& notification)
{
    const RCPtr<LRefCountedObject> data = notification ? notification->GetPayload() : nullptr;
    if (const auto* state = dynamic_cast<const ParamStatePayload*>(data.Get()))
    {
        ApplyParamState(state->GetFirst(), state->GetSecond());
    }
    else if (const auto* states = dynamic_cast<const ParamStatesPayload*>(data.Get()))
    {
        if (states->GetType() != Variant::TagList)
        {
            return S_FALSE;
        }
        const std::uint32_t count = states->GetListItemCount();
        for (std::uint32_t index = 0; index < count; ++index)
        {
            ParamDescriptor descriptor;
            Variant value;
            const std::int32_t read =
                states->GetItem(index, value, descriptor.mParamID, descriptor.mSubKey);
            if (read < 0)
            {
                DebugStreams::Narrow()
                    << "QZ::LMainControl::OnParamModuleStateChange: skipped "
                       "unreadable state "
                    << index << " of " << count << " (result " << read << ")" << std::endl;
                continue;
            }
            ApplyParamState(descriptor, value);
        }
    }
    return S_FALSE;
}

std::int32_t LMainControl::ApplyParamState(const ParamDescriptor& descriptor, const Variant& value)
{
    // A refused edit re-applies the engine's value while another state may be applying.
    const ParamDescriptor outer = mAppliedState;
    mAppliedState = descriptor;
    const bool empty = value.GetType() == Variant::TagEmpty;
    if (descriptor.mParamID == kDeviceConfigurationID)
    {
        if (empty)
        {
            CheckRemoteDevices();
        }
    }
    else if (descriptor.mParamID != kDeviceInformationID && !empty)
    {
        if (const RCPtr<LParameterizedModule> module = GetModule(descriptor.mParamID))
        {
            module->SetParamValueLocal(mAppliedState, value, true);
        }
    }
    mAppliedState = outer;
    return 0;
}

void LMainControl::EnableDeviceScanning()
{
    if (const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine())
    {
        static_cast<void>(engine->EnableDeviceScanning(true));
    }
}

void LMainControl::CheckRemoteDevices()
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Array<Variant> devices;
    const std::int32_t result = engine ? engine->GetRemoteDeviceList(devices) : E_FAIL;
    if (result >= 0 || mOfflineMessageShown)
    {
        return;
    }
    // Without remote devices the editor still edits, loads, saves and transfers presets over
    // MIDI: it says so once and goes on.
    mOfflineMessageShown = true;
    WideString text;
    WideString caption;
    GetString(text, u"HARDWARE_CONFIG_ERROR_MESSAGE");
    GetString(caption, u"HARDWARE_CONFIG_ERROR_TITLE");
    ShowMessageBox(text, caption, kMessageBoxErrorIcon);
}

} // namespace QZ
