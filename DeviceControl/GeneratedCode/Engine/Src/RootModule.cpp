#include "DeviceControl/GeneratedCode/Engine/Inc/RootModule.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/Device.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"

using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

constexpr std::int32_t kReadyID = -2;
constexpr std::int32_t kStatusValueID = -4;
constexpr std::int32_t kStatusID = -8;

// The identifier firstParamID + number, wrapping as the layout's identifiers do.
std::int32_t ParamIDOf(std::int32_t firstParamID, std::uint32_t number)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(firstParamID) + number);
}

} // namespace

QZ::RCPtr<LRootModule> LRootModule::Create(bool offline)
{
    QZ::RCPtr<LRootModule> root(new LRootModule(offline));
    root->CreateDevice();
    return root;
}

LRootModule::LRootModule(bool offline) : IRootModule(offline), mDeviceLock(new DeviceLock()) {}

LRootModule::~LRootModule()
{
    if (mDeviceComm)
    {
        mDeviceComm->EnableReceiver(false);
        mDeviceComm->SetReceiver(nullptr);
        static_cast<void>(mDeviceComm->DisconnectDevice());
    }
}

std::int32_t LRootModule::Initialize(ChangeCallback callback, void* context,
                                     const QZ::RCPtr<QZ::LParamCache>& cache,
                                     const QZ::RCPtr<LDeviceCommunicationInterface>& deviceComm,
                                     std::int32_t firstParamID)
{
    mChangeCallback = callback;
    mCallbackContext = context;
    mParamCache = cache;
    mDeviceComm = deviceComm;
    SetFirstParamID(nullptr, firstParamID, 0);
    for (std::uint32_t number = 0; number < kPresetParamCount; ++number)
    {
        const std::int32_t paramID = ParamIDOf(firstParamID, number);
        QZ::RCPtr<LParameterizedModule> module = GetModule(paramID);
        if (module && mParamCache)
        {
            static_cast<void>(
                mParamCache->SetValue(ParamDescriptor(static_cast<std::int32_t>(number)),
                                      module->GetParamValueDefault(paramID), false));
        }
    }
    if (mDeviceComm)
    {
        mDeviceComm->SetReceiver(this);
        mDeviceComm->EnableReceiver(true);
    }
    return 0;
}

std::int32_t LRootModule::ConnectDevice(const Variant& device)
{
    if (!mDeviceComm)
    {
        mOffline = true;
        return LDeviceCommunicationInterface::kNoClient;
    }
    static_cast<void>(mDeviceComm->DisconnectDevice());
    const std::int32_t result = mDeviceComm->ConnectDevice(device);
    if (result < 0)
    {
        mOffline = true;
        return result;
    }
    mOffline = false;
    QZ::ParamRanges ranges;
    const QZ::ParamRange preset{mFirstParamID, kPresetParamCount};
    static_cast<void>(ranges.SetRanges(&preset, 1));
    static_cast<void>(mDeviceComm->RequestParamRanges(ranges));
    static_cast<void>(mDeviceComm->RequestParamValue(ParamDescriptor(kStatusID)));
    return result;
}

std::int32_t LRootModule::StopReceiving()
{
    if (mDeviceComm)
    {
        mDeviceComm->EnableReceiver(false);
    }
    return 0;
}

std::int32_t LRootModule::SetParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    return CommitParamValue(descriptor, value);
}

Variant LRootModule::GetParamValue(const ParamDescriptor& descriptor) const
{
    return ReadParamValue(descriptor);
}

std::int32_t LRootModule::CommitParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    ParamDescriptor cached;
    if (!ToCacheDescriptor(descriptor, cached))
    {
        return -1;
    }
    if (value.GetType() == Variant::TagEmpty || mParamCache->Holds(cached, value))
    {
        return 0;
    }
    static_cast<void>(mParamCache->SetValue(cached, value, true));
    ReportParamChange(descriptor, value);
    return 0;
}

Variant LRootModule::ReadParamValue(const ParamDescriptor& descriptor) const
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    Variant value;
    ReadKeptValue(descriptor, value);
    return value;
}

void LRootModule::ReadParamValues(const QZ::ParamRange& range, QZ::ParamValue* out) const
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    for (std::uint32_t k = 0; k < range.mCount; ++k)
    {
        QZ::ParamValue& entry = out[k];
        entry.mDescriptor = ParamDescriptor(ParamIDOf(range.mFirstParamID, k));
        ReadKeptValue(entry.mDescriptor, entry.mValue);
    }
}

void LRootModule::ReadKeptValue(const ParamDescriptor& descriptor, Variant& value) const
{
    ParamDescriptor cached;
    if (!ToCacheDescriptor(descriptor, cached) || mParamCache->GetValue(cached, value) < 0)
    {
        value.Clear();
    }
}

void LRootModule::ReportParamChange(const ParamDescriptor& descriptor, const Variant& value)
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    QZ::ParamValue& change = mDeviceLock->mChanges.GetAt(0);
    change.mDescriptor = descriptor;
    change.mValue = value;
    static_cast<void>(InvokeChangeCallback(&mDeviceLock->mChanges));
}

std::int32_t LRootModule::SendParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    if (descriptor.mParamID == kStatusValueID)
    {
        return mDeviceComm && mDeviceComm->DeliverStatusValue(value.ToInt64()) ? 0 : 1;
    }
    return IRootModule::SendParamValue(descriptor, value);
}

std::int32_t LRootModule::FetchParamValue(const ParamDescriptor& descriptor, Variant& value)
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    if (descriptor.mParamID < 0)
    {
        if (!mDeviceComm)
        {
            value.Clear();
            return LDeviceCommunicationInterface::kNoClient;
        }
        return mDeviceComm->GetParamValue(descriptor, value);
    }
    return IRootModule::FetchParamValue(descriptor, value);
}

int LRootModule::InvokeChangeCallback(QZ::Array<QZ::ParamValue>* changes)
{
    return mChangeCallback == nullptr ? 0 : mChangeCallback(mCallbackContext, changes);
}

void LRootModule::CreateDevice()
{
    mDevice = LDevice::Create();
}

void LRootModule::ReceiveParamValues(const QZ::ParamValues& values)
{
    QZ::Mutex::ScopedLock lock(mDeviceLock->mMutex);
    const std::uint32_t count = values.GetListItemCount();
    for (std::uint32_t index = 0; index < count; ++index)
    {
        Variant value;
        std::int32_t paramID = -1;
        Variant subKey;
        static_cast<void>(values.GetItem(index, value, paramID, subKey));
        QZ::RCPtr<LParameterizedModule> module;
        if (paramID >= 0)
        {
            module = GetModule(paramID);
        }
        else if (IsCompositeParamID(paramID))
        {
            module = GetCompositeModule(paramID);
        }
        else if (paramID == kReadyID && value.ToBool())
        {
            PropagateEventA();
        }
        if (module)
        {
            static_cast<void>(
                module->SetParamValueLocal(ParamDescriptor(paramID, subKey), value, true));
        }
        else
        {
            ReportParamChange(ParamDescriptor(paramID), value);
        }
    }
}

bool LRootModule::ToCacheDescriptor(const ParamDescriptor& descriptor,
                                    ParamDescriptor& cached) const
{
    const std::int64_t number = static_cast<std::int64_t>(descriptor.mParamID) - mFirstParamID;
    if (!mParamCache || number < 0 || number >= kPresetParamCount)
    {
        return false;
    }
    cached = ParamDescriptor(static_cast<std::int32_t>(number), descriptor.mSubKey);
    return true;
}
