// The simulated build's backend: one keyboard attached through a device-control service (see
// SimulationControl.h for what it does). One lock guards its state; the receive callback is
// called on the simulation's delivery thread without that lock held, and a disconnection waits
// for a callback in progress to end.
#pragma once

#include "Platform/DeviceControlClient/DeviceControlBackend.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace DeviceControl
{

class SimulatedDevice final : public DeviceControlBackend
{
public:
    SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;
    // Ends the connection and joins the delivery thread.
    ~SimulatedDevice() override;

    std::int32_t FindDevices(std::uint32_t vendorID, std::uint32_t productID) override;
    std::int32_t FindRemoteDevices(std::uint32_t kind, QZ::Variant& devices) override;
    std::int32_t ConnectDevice(const QZ::Variant& device, OXLI_ReceiveCallback callback,
                               void* context) override;
    std::int32_t RequestParamRanges(const QZ::Variant& device, const QZ::Variant& ranges) override;
    std::int32_t RequestParamValues(const QZ::Variant& device,
                                    const QZ::Variant& descriptors) override;
    std::int32_t GetParamRanges(const QZ::Variant& device, QZ::Variant& ranges) override;
    std::int32_t GetParamValues(const QZ::Variant& device, const QZ::Variant& descriptors,
                                QZ::Variant& values) override;
    std::int32_t GetParamValue(const QZ::Variant& device, std::int32_t paramID,
                               const QZ::Variant& subKey, QZ::Variant& value) override;
    std::int32_t SetParamValue(const QZ::Variant& device, std::int32_t paramID,
                               const QZ::Variant& subKey, const QZ::Variant& value) override;
    std::int32_t SetParamValues(const QZ::Variant& device, const QZ::Variant& values) override;
    std::int32_t DisconnectDevice(const QZ::Variant& device) override;
    std::int32_t IsDeviceConnected(const QZ::Variant& device) override;
    std::int32_t GetDeviceInfo(const QZ::Variant& device, OXLI_DeviceInfo& info) override;
    std::int32_t ReleaseAll() override;

    void Reset();
    std::int32_t SetRemoteDevices(const QZ::Variant& devices, std::uint32_t afterSearches);
    void SetDevicePresent(bool present);
    std::int32_t PushValues(const QZ::Variant& values);
    [[nodiscard]] bool WaitUntilDelivered(std::uint32_t timeoutMs);
    [[nodiscard]] std::uint32_t GetCallCount(std::string_view entryPoint);
    void SetFailure(std::string_view entryPoint, std::int32_t result);

private:
    // A parameter's identifier and its packed sub-key.
    using ValueKey = std::pair<std::int32_t, std::vector<std::uint8_t>>;

    struct Connection
    {
        QZ::Variant mDevice;
        OXLI_ReceiveCallback mCallback = nullptr;
        void* mContext = nullptr;
        std::uint64_t mGeneration = 0;
    };

    struct PendingList
    {
        std::uint64_t mGeneration = 0;
        std::vector<std::uint8_t> mRecord;
    };

    // Counts the call and gives the failure set for it, if any. Called with the lock held.
    std::optional<std::int32_t> Enter(const char* entryPoint);
    bool IsKnown(const QZ::Variant& device) const;
    bool IsConnectedTo(const QZ::Variant& device) const;
    // Ends the connection, drops its pending lists and waits for its callback to end.
    void EndConnection(std::unique_lock<std::mutex>& lock);
    void StopThread(std::unique_lock<std::mutex>& lock);
    void Queue(const QZ::Variant& values);
    void DeliveryLoop();
    void StoreDefaults();
    static ValueKey MakeKey(std::int32_t paramID, const QZ::Variant& subKey);
    static bool IsReadOnly(std::int32_t paramID);
    // The held values of the listed descriptors as a ParamValues list; false for a malformed
    // descriptor list.
    bool CollectValues(const QZ::Variant& descriptors, QZ::Variant& values,
                       std::int32_t& result) const;

    std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mIdle;
    std::optional<Connection> mConnection;
    std::uint64_t mGeneration = 0;
    std::deque<PendingList> mPending;
    bool mDelivering = false;
    bool mStopping = false;
    std::thread mThread;
    std::map<ValueKey, QZ::Variant> mValues;
    QZ::Variant mRemoteDevices;
    std::optional<QZ::Variant> mScheduledDevices;
    std::uint32_t mSearchesBeforeChange = 0;
    bool mPresent = true;
    std::map<std::string, std::uint32_t, std::less<>> mCallCounts;
    std::map<std::string, std::int32_t, std::less<>> mFailures;
};

// The backend of the simulated build.
SimulatedDevice& GetSimulatedDevice();

} // namespace DeviceControl
