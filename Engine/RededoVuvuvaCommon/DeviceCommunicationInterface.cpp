#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"

#include "Engine/RededoVuvuvaCommon/DeviceCommunicationThreadWorker.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"

#include <chrono>
#include <cstring>
#include <new>
#include <thread>

using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

constexpr std::int32_t kReadyID = -2;
constexpr std::int32_t kStatusValueID = -4;
constexpr std::int32_t kStatusID = -8;
constexpr std::int32_t kMakerNameID = -9;
constexpr std::int32_t kProductNameID = -10;

// The names answered without a client, by device index.
struct DeviceNames
{
    const char* maker;
    const char* product;
};
constexpr DeviceNames kDeviceNames[] = {{"Korvane", "Tarn 61 Vidida Editor"}};

bool IsUnwritable(std::int32_t paramID)
{
    return paramID >= -14 && paramID <= -12;
}

Variant MakeBool(bool value)
{
    const std::uint8_t byte = value ? 1 : 0;
    Variant result;
    result.Set(Variant::TagUInt8, &byte, 1);
    return result;
}

Variant MakeInt64(std::int64_t value)
{
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < sizeof(bytes); ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
    }
    Variant result;
    result.Set(Variant::TagInt64, bytes, sizeof(bytes));
    return result;
}

bool AreEqual(const LDeviceCommunicationInterface::DeviceList& a,
              const LDeviceCommunicationInterface::DeviceList& b)
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

// Fills list with the items of a searched device list (none when it is not a list).
void CopyDeviceList(const Variant& found, LDeviceCommunicationInterface::DeviceList& list)
{
    const std::uint32_t count = found.GetListItemCount();
    static_cast<void>(list.SetCount(static_cast<std::int32_t>(count)));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        static_cast<void>(found.GetListItem(i, list.GetAt(static_cast<std::int32_t>(i))));
    }
}

} // namespace

LDeviceCommunicationInterface::LDeviceCommunicationInterface()
    : mState(new LDeviceCommunicationState()),
      mThreader(new QZ::LEventGatedThreader(
          mState->mWakeEvent, QZ::RCPtr<QZ::LThreadWorker>(new LDeviceCommunicationThreadWorker()),
          mState, 0))
{
}

LDeviceCommunicationInterface::~LDeviceCommunicationInterface()
{
    EnableReceiver(false);
    mThreader = nullptr;
    if (QZ::DeviceControlClientInterface* client = GetClient())
    {
        static_cast<void>(client->DisconnectDevice(mState->GetCurrentDevice()));
        mState->mClient.reset();
    }
    SetReceiver(nullptr);
}

QZ::QZRESULT LDeviceCommunicationInterface::Initialize()
{
    if (GetClient() != nullptr)
    {
        return QZ::S_FALSE;
    }
    try
    {
        mState->mClient = std::make_unique<QZ::DeviceControlClientInterface>();
    }
    catch (const std::bad_alloc&)
    {
        return QZ::E_FAIL;
    }
    return QZ::S_OK;
}

bool LDeviceCommunicationInterface::DeliverStatusValue(std::int64_t value)
{
    DeviceCommunicationReceiver* receiver = nullptr;
    QZ::ParamValues list;
    {
        QZ::Mutex::ScopedLock lock(mState->mStateLock);
        receiver = mState->mReceiver.load();
        if (receiver == nullptr)
        {
            return false;
        }
        const Variant status[2] = {MakeInt64(value), MakeBool(IsReady())};
        Variant statusList;
        statusList.SetList(status, 2);
        const QZ::ParamValue item(ParamDescriptor(kStatusValueID), statusList);
        static_cast<void>(list.SetItems(&item, 1));
    }
    receiver->ReceiveParamValues(list);
    return IsReady();
}

void LDeviceCommunicationInterface::Synchronize()
{
    QZ::Mutex::ScopedLock lock(mState->mStateLock);
}

std::int32_t LDeviceCommunicationInterface::GetLocalDeviceList(const DeviceClassArray&,
                                                               DeviceList& list)
{
    static_cast<void>(list.SetCount(1));
    list.GetAt(0).Clear();
    return 0;
}

std::int32_t LDeviceCommunicationInterface::WaitForRemoteDeviceListChange(
    const DeviceClassArray& classes, DeviceList& list, std::uint32_t timeoutMs)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    const DeviceList baseline = list;
    for (std::uint32_t elapsed = 0;; elapsed += kSearchPauseMs)
    {
        Variant found;
        if (client->FindRemoteDevices(classes.GetData(),
                                      static_cast<std::uint32_t>(classes.GetCount()), found,
                                      OXLI_SEARCH_QUICK) < 0)
        {
            return QZ::E_FAIL;
        }
        CopyDeviceList(found, list);
        if (!AreEqual(list, baseline))
        {
            return 0;
        }
        if (elapsed >= timeoutMs)
        {
            return kListUnchanged;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kSearchPauseMs));
    }
}

std::int32_t LDeviceCommunicationInterface::FindRemoteDevices(const DeviceClassArray& classes,
                                                              DeviceList& list)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    Variant found;
    const std::int32_t result = client->FindRemoteDevices(
        classes.GetData(), static_cast<std::uint32_t>(classes.GetCount()), found, OXLI_SEARCH_FULL);
    if (result >= 0)
    {
        CopyDeviceList(found, list);
    }
    return result;
}

std::int32_t LDeviceCommunicationInterface::ConnectDevice(const Variant& device)
{
    mState->SetCurrentDevice(device);
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    return client->ConnectDevice(device, &LDeviceCommunicationState::ReceiveValues, mState.Get());
}

std::int32_t LDeviceCommunicationInterface::RequestParamRanges(const QZ::ParamRanges& ranges)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient
                             : client->RequestParamRanges(mState->GetCurrentDevice(), ranges);
}

std::int32_t
LDeviceCommunicationInterface::RequestParamValues(const QZ::ParamDescriptors& descriptors)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient
                             : client->RequestParamValues(mState->GetCurrentDevice(), descriptors);
}

std::int32_t LDeviceCommunicationInterface::RequestParamValue(const ParamDescriptor& descriptor)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient
                             : client->RequestParamValue(mState->GetCurrentDevice(), descriptor);
}

std::int32_t LDeviceCommunicationInterface::GetParamRanges(std::uint32_t flags, Variant& ranges)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient
                             : client->GetParamRanges(mState->GetCurrentDevice(), flags, ranges);
}

std::int32_t LDeviceCommunicationInterface::GetParamValues(const QZ::ParamDescriptors& descriptors,
                                                           Variant& values)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr
               ? kNoClient
               : client->GetParamValues(mState->GetCurrentDevice(), descriptors, values);
}

std::int32_t LDeviceCommunicationInterface::GetParamValue(const ParamDescriptor& descriptor,
                                                          Variant& value)
{
    if (QZ::DeviceControlClientInterface* client = GetClient())
    {
        return client->GetParamValue(mState->GetCurrentDevice(), descriptor, value);
    }
    value.Clear();
    std::int32_t index = 0;
    static_cast<void>(GetDeviceIndex(index));
    switch (descriptor.mParamID)
    {
    case kReadyID:
        value = MakeBool(IsReady());
        return 0;
    case kStatusID:
        return GetStatus(value);
    case kMakerNameID:
        value.SetString(kDeviceNames[index].maker);
        return 0;
    case kProductNameID:
        value.SetString(kDeviceNames[index].product);
        return 0;
    default:
        return QZ::E_FAIL;
    }
}

std::int32_t LDeviceCommunicationInterface::SetParamValue(const ParamDescriptor& descriptor,
                                                          const Variant& value)
{
    if (mState->mReceiver.load() == nullptr)
    {
        return QZ::E_FAIL;
    }
    if (descriptor.mParamID == kStatusValueID)
    {
        return DeliverStatusValue(value.ToInt64()) ? 0 : 1;
    }
    if (IsUnwritable(descriptor.mParamID))
    {
        return QZ::E_FAIL;
    }
    if (QZ::DeviceControlClientInterface* client = GetClient())
    {
        return client->SetParamValue(mState->GetCurrentDevice(), descriptor, value);
    }
    return descriptor.mParamID == kStatusID ? SetStatus(value) : QZ::E_FAIL;
}

std::int32_t LDeviceCommunicationInterface::SetParamValues(const Variant& values)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient
                             : client->SetParamValues(mState->GetCurrentDevice(), values);
}

std::int32_t LDeviceCommunicationInterface::CheckConnection()
{
    if (GetClient() == nullptr)
    {
        return kNoClient;
    }
    return IsConnected() ? 0 : kNotConnected;
}

std::int32_t LDeviceCommunicationInterface::DisconnectDevice()
{
    QZ::DeviceControlClientInterface* client = GetClient();
    return client == nullptr ? kNoClient : client->DisconnectDevice(mState->GetCurrentDevice());
}

std::int32_t LDeviceCommunicationInterface::GetDeviceInfo(const Variant& device,
                                                          OXLI_DeviceInfo& info)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        std::memset(info.bytes, 0, sizeof(info.bytes));
        return kNoClient;
    }
    return client->GetDeviceInfo(device, info);
}

std::int32_t LDeviceCommunicationInterface::GetStatus(Variant& status)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    return client->GetParamValue(mState->GetCurrentDevice(), ParamDescriptor(kStatusID), status);
}

std::int32_t LDeviceCommunicationInterface::SetStatus(const Variant& status)
{
    QZ::DeviceControlClientInterface* client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    return client->SetParamValue(mState->GetCurrentDevice(), ParamDescriptor(kStatusID), status);
}

std::int32_t LDeviceCommunicationInterface::GetDeviceIndex(std::int32_t& index) const
{
    index = 0;
    return 0;
}

void LDeviceCommunicationInterface::EnableReceiver(bool on)
{
    mState->mReceiving = on;
    if (!on)
    {
        QZ::Mutex::ScopedLock delivery(mState->mDeliveryLock);
    }
}

void LDeviceCommunicationInterface::SetReceiver(DeviceCommunicationReceiver* receiver)
{
    mState->mReceiver = receiver;
    if (receiver == nullptr)
    {
        QZ::Mutex::ScopedLock delivery(mState->mDeliveryLock);
    }
}
