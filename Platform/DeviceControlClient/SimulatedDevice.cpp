#include "Platform/DeviceControlClient/SimulatedDevice.h"

#include "Platform/DeviceControlClient/PackedRecord.h"

#include <chrono>

using QZ::Variant;

namespace DeviceControl
{
namespace
{

constexpr std::int32_t kReadyID = -2;
constexpr std::int32_t kStatusID = -8;
constexpr std::int32_t kMakerNameID = -9;
constexpr std::int32_t kProductNameID = -10;

Variant MakeInt32(std::int32_t number)
{
    const auto bits = static_cast<std::uint32_t>(number);
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    Variant value;
    value.Set(Variant::TagInt32, bytes, 4);
    return value;
}

Variant MakeList(std::initializer_list<Variant> items)
{
    Variant list;
    list.SetList(items.begin(), static_cast<std::uint32_t>(items.size()));
    return list;
}

// Reads the fields of a list item that must be a list of exactly count items.
bool ReadFields(const Variant& list, std::uint32_t index, Variant* fields, std::uint32_t count)
{
    Variant item;
    if (list.GetListItem(index, item) != 0 || item.GetType() != Variant::TagList ||
        item.GetListItemCount() != count)
    {
        return false;
    }
    for (std::uint32_t field = 0; field < count; ++field)
    {
        if (item.GetListItem(field, fields[field]) != 0)
        {
            return false;
        }
    }
    return true;
}

bool IsIdentifier(const Variant& value)
{
    return value.GetType() == Variant::TagInt32;
}

} // namespace

SimulatedDevice::SimulatedDevice()
{
    mRemoteDevices.SetList(nullptr, 0);
    StoreDefaults();
}

SimulatedDevice::~SimulatedDevice()
{
    ReleaseAll();
}

std::optional<std::int32_t> SimulatedDevice::Enter(const char* entryPoint)
{
    ++mCallCounts[entryPoint];
    const auto failure = mFailures.find(entryPoint);
    if (failure != mFailures.end())
    {
        return failure->second;
    }
    return std::nullopt;
}

std::int32_t SimulatedDevice::FindDevices(std::uint32_t, std::uint32_t)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_FindDevices"))
    {
        return *failure;
    }
    return mPresent ? 1 : 0;
}

std::int32_t SimulatedDevice::FindRemoteDevices(std::uint32_t kind, Variant& devices)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_FindRemoteDevices"))
    {
        return *failure;
    }
    if (mScheduledDevices.has_value())
    {
        if (mSearchesBeforeChange == 0)
        {
            mRemoteDevices = *mScheduledDevices;
            mScheduledDevices.reset();
        }
        else
        {
            --mSearchesBeforeChange;
        }
    }
    devices = mRemoteDevices;
    const bool found = mRemoteDevices.GetListItemCount() > 0;
    return kind == OXLI_SEARCH_FULL && found ? OXLI_RESULT_FOUND : OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::ConnectDevice(const Variant& device, OXLI_ReceiveCallback callback,
                                            void* context)
{
    std::unique_lock lock(mMutex);
    if (const auto failure = Enter("OXLI_ConnectDevice"))
    {
        return *failure;
    }
    if (!IsKnown(device))
    {
        return OXLI_RESULT_NO_SUCH_DEVICE;
    }
    EndConnection(lock);
    mConnection = Connection{device, callback, context, ++mGeneration};
    if (!mThread.joinable())
    {
        mStopping = false;
        mThread = std::thread(&SimulatedDevice::DeliveryLoop, this);
    }
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::RequestParamRanges(const Variant& device, const Variant& ranges)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_RequestParamRanges"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    return ranges.GetType() == Variant::TagList ? OXLI_RESULT_OK : OXLI_RESULT_NOT_A_LIST;
}

std::int32_t SimulatedDevice::RequestParamValues(const Variant& device, const Variant& descriptors)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_RequestParamValues"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    Variant values;
    std::int32_t result = OXLI_RESULT_OK;
    if (CollectValues(descriptors, values, result) && values.GetListItemCount() > 0)
    {
        Queue(values);
    }
    return result;
}

std::int32_t SimulatedDevice::GetParamRanges(const Variant& device, Variant& ranges)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_GetParamRanges"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    // One range per run of consecutive whole parameters; negative identifiers are virtual.
    std::vector<Variant> runs;
    std::int32_t first = 0;
    std::int32_t count = 0;
    for (const auto& [key, value] : mValues)
    {
        if (key.first < 0 || !key.second.empty())
        {
            continue;
        }
        if (count > 0 && key.first == first + count)
        {
            ++count;
            continue;
        }
        if (count > 0)
        {
            runs.push_back(MakeList({MakeInt32(first), MakeInt32(count)}));
        }
        first = key.first;
        count = 1;
    }
    if (count > 0)
    {
        runs.push_back(MakeList({MakeInt32(first), MakeInt32(count)}));
    }
    ranges.SetList(runs.data(), static_cast<std::uint32_t>(runs.size()));
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::GetParamValues(const Variant& device, const Variant& descriptors,
                                             Variant& values)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_GetParamValues"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    std::int32_t result = OXLI_RESULT_OK;
    CollectValues(descriptors, values, result);
    return result;
}

std::int32_t SimulatedDevice::GetParamValue(const Variant& device, std::int32_t paramID,
                                            const Variant& subKey, Variant& value)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_GetParamValue"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    const auto held = mValues.find(MakeKey(paramID, subKey));
    if (held == mValues.end())
    {
        return OXLI_RESULT_NO_SUCH_PARAMETER;
    }
    value = held->second;
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::SetParamValue(const Variant& device, std::int32_t paramID,
                                            const Variant& subKey, const Variant& value)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_SetParamValue"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    if (IsReadOnly(paramID))
    {
        return OXLI_RESULT_NO_SUCH_PARAMETER;
    }
    mValues[MakeKey(paramID, subKey)] = value;
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::SetParamValues(const Variant& device, const Variant& values)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_SetParamValues"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    if (values.GetType() != Variant::TagList)
    {
        return OXLI_RESULT_NOT_A_LIST;
    }
    // All items are checked before any is written, so a bad list changes nothing.
    std::vector<std::pair<ValueKey, Variant>> writes;
    for (std::uint32_t index = 0; index < values.GetListItemCount(); ++index)
    {
        Variant fields[3];
        if (!ReadFields(values, index, fields, 3) || !IsIdentifier(fields[1]) ||
            IsReadOnly(fields[1].ToInt32()))
        {
            return OXLI_RESULT_BAD_ARGUMENT;
        }
        writes.emplace_back(MakeKey(fields[1].ToInt32(), fields[2]), fields[0]);
    }
    for (auto& [key, value] : writes)
    {
        mValues[key] = value;
    }
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::DisconnectDevice(const Variant& device)
{
    std::unique_lock lock(mMutex);
    if (const auto failure = Enter("OXLI_DisconnectDevice"))
    {
        return *failure;
    }
    if (!IsConnectedTo(device))
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    EndConnection(lock);
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::IsDeviceConnected(const Variant& device)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_IsDeviceConnected"))
    {
        return *failure;
    }
    return IsConnectedTo(device) ? OXLI_RESULT_OK : OXLI_RESULT_NOT_CONNECTED;
}

std::int32_t SimulatedDevice::GetDeviceInfo(const Variant& device, OXLI_DeviceInfo& info)
{
    std::lock_guard lock(mMutex);
    if (const auto failure = Enter("OXLI_GetDeviceInfo"))
    {
        return *failure;
    }
    if (!IsKnown(device))
    {
        return OXLI_RESULT_NO_SUCH_DEVICE;
    }
    info.bytes[OXLI_DEVICE_INFO_PRESENT_OFFSET] = mPresent ? 1 : 0;
    return OXLI_RESULT_OK;
}

std::int32_t SimulatedDevice::ReleaseAll()
{
    std::unique_lock lock(mMutex);
    if (const auto failure = Enter("OXLI_ReleaseAll"))
    {
        return *failure;
    }
    EndConnection(lock);
    StopThread(lock);
    return OXLI_RESULT_OK;
}

void SimulatedDevice::Reset()
{
    std::unique_lock lock(mMutex);
    EndConnection(lock);
    StopThread(lock);
    mValues.clear();
    StoreDefaults();
    mRemoteDevices.SetList(nullptr, 0);
    mScheduledDevices.reset();
    mSearchesBeforeChange = 0;
    mPresent = true;
    mCallCounts.clear();
    mFailures.clear();
}

std::int32_t SimulatedDevice::SetRemoteDevices(const Variant& devices, std::uint32_t afterSearches)
{
    if (devices.GetType() != Variant::TagList)
    {
        return OXLI_RESULT_NOT_A_LIST;
    }
    std::lock_guard lock(mMutex);
    if (afterSearches == 0)
    {
        mRemoteDevices = devices;
        mScheduledDevices.reset();
    }
    else
    {
        mScheduledDevices = devices;
        mSearchesBeforeChange = afterSearches;
    }
    return OXLI_RESULT_OK;
}

void SimulatedDevice::SetDevicePresent(bool present)
{
    std::lock_guard lock(mMutex);
    mPresent = present;
}

std::int32_t SimulatedDevice::PushValues(const Variant& values)
{
    if (values.GetType() != Variant::TagList)
    {
        return OXLI_RESULT_NOT_A_LIST;
    }
    std::lock_guard lock(mMutex);
    if (!mConnection.has_value())
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    for (std::uint32_t index = 0; index < values.GetListItemCount(); ++index)
    {
        Variant fields[3];
        if (ReadFields(values, index, fields, 3) && IsIdentifier(fields[1]))
        {
            mValues[MakeKey(fields[1].ToInt32(), fields[2])] = fields[0];
        }
    }
    Queue(values);
    return OXLI_RESULT_OK;
}

bool SimulatedDevice::WaitUntilDelivered(std::uint32_t timeoutMs)
{
    std::unique_lock lock(mMutex);
    return mIdle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return mPending.empty() && !mDelivering; });
}

std::uint32_t SimulatedDevice::GetCallCount(std::string_view entryPoint)
{
    std::lock_guard lock(mMutex);
    const auto count = mCallCounts.find(entryPoint);
    return count == mCallCounts.end() ? 0 : count->second;
}

void SimulatedDevice::SetFailure(std::string_view entryPoint, std::int32_t result)
{
    std::lock_guard lock(mMutex);
    if (result == 0)
    {
        mFailures.erase(std::string(entryPoint));
    }
    else
    {
        mFailures[std::string(entryPoint)] = result;
    }
}

bool SimulatedDevice::IsKnown(const Variant& device) const
{
    if (device.GetType() == Variant::TagEmpty)
    {
        return true;
    }
    for (std::uint32_t index = 0; index < mRemoteDevices.GetListItemCount(); ++index)
    {
        Variant known;
        if (mRemoteDevices.GetListItem(index, known) == 0 && known == device)
        {
            return true;
        }
    }
    return false;
}

bool SimulatedDevice::IsConnectedTo(const Variant& device) const
{
    return mConnection.has_value() && mConnection->mDevice == device;
}

void SimulatedDevice::EndConnection(std::unique_lock<std::mutex>& lock)
{
    mConnection.reset();
    mPending.clear();
    if (std::this_thread::get_id() != mThread.get_id())
    {
        mIdle.wait(lock, [this] { return !mDelivering; });
    }
    mIdle.notify_all();
}

void SimulatedDevice::StopThread(std::unique_lock<std::mutex>& lock)
{
    if (!mThread.joinable() || std::this_thread::get_id() == mThread.get_id())
    {
        return;
    }
    mStopping = true;
    mWake.notify_all();
    std::thread thread = std::move(mThread);
    lock.unlock();
    thread.join();
    lock.lock();
    mStopping = false;
}

void SimulatedDevice::Queue(const Variant& values)
{
    std::vector<std::uint8_t> record;
    if (Platform::PackRecord(values, record))
    {
        mPending.push_back(PendingList{mConnection->mGeneration, std::move(record)});
        mWake.notify_all();
    }
}

void SimulatedDevice::DeliveryLoop()
{
    std::unique_lock lock(mMutex);
    while (true)
    {
        mWake.wait(lock, [this] { return mStopping || !mPending.empty(); });
        if (mStopping)
        {
            return;
        }
        const PendingList list = std::move(mPending.front());
        mPending.pop_front();
        if (mConnection.has_value() && mConnection->mGeneration == list.mGeneration)
        {
            const Connection target = *mConnection;
            mDelivering = true;
            lock.unlock();
            const OXLI_Record record = Platform::ViewRecord(list.mRecord);
            target.mCallback(target.mContext, 0, &record);
            lock.lock();
            mDelivering = false;
        }
        mIdle.notify_all();
    }
}

void SimulatedDevice::StoreDefaults()
{
    const Variant noSubKey;
    Variant ready;
    const std::uint8_t yes = 1;
    ready.Set(Variant::TagUInt8, &yes, 1);
    mValues[MakeKey(kReadyID, noSubKey)] = ready;
    Variant status;
    const std::uint8_t zero[8] = {};
    status.Set(Variant::TagInt64, zero, 8);
    mValues[MakeKey(kStatusID, noSubKey)] = status;
    Variant maker;
    maker.SetString("Korvane");
    mValues[MakeKey(kMakerNameID, noSubKey)] = maker;
    Variant product;
    product.SetString("Tarn 61 Vidida Editor");
    mValues[MakeKey(kProductNameID, noSubKey)] = product;
}

SimulatedDevice::ValueKey SimulatedDevice::MakeKey(std::int32_t paramID, const Variant& subKey)
{
    ValueKey key{paramID, {}};
    if (subKey.GetType() != Variant::TagEmpty)
    {
        static_cast<void>(Platform::PackRecord(subKey, key.second));
    }
    return key;
}

bool SimulatedDevice::IsReadOnly(std::int32_t paramID)
{
    return paramID == kReadyID || paramID == kMakerNameID || paramID == kProductNameID;
}

bool SimulatedDevice::CollectValues(const Variant& descriptors, Variant& values,
                                    std::int32_t& result) const
{
    if (descriptors.GetType() != Variant::TagList)
    {
        result = OXLI_RESULT_NOT_A_LIST;
        return false;
    }
    std::vector<Variant> items;
    for (std::uint32_t index = 0; index < descriptors.GetListItemCount(); ++index)
    {
        Variant fields[2];
        if (!ReadFields(descriptors, index, fields, 2) || !IsIdentifier(fields[0]))
        {
            result = OXLI_RESULT_BAD_ARGUMENT;
            return false;
        }
        const auto held = mValues.find(MakeKey(fields[0].ToInt32(), fields[1]));
        if (held != mValues.end())
        {
            items.push_back(MakeList({held->second, fields[0], fields[1]}));
        }
    }
    values.SetList(items.data(), static_cast<std::uint32_t>(items.size()));
    result = OXLI_RESULT_OK;
    return true;
}

SimulatedDevice& GetSimulatedDevice()
{
    static SimulatedDevice device;
    return device;
}

DeviceControlBackend& GetDeviceControlBackend()
{
    return GetSimulatedDevice();
}

} // namespace DeviceControl
