#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace EngineTestSupport
{

void NotificationRecorder::ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>&,
                                               const QZ::RCPtr<QZ::LNotification>& notification)
{
    QZ::Mutex::ScopedLock lock(mLock);
    mDelivered.push_back(Delivered{notification->GetID(), notification->GetPayload()});
}

std::vector<Delivered> NotificationRecorder::GetDelivered(const char16_t* identifier) const
{
    QZ::Mutex::ScopedLock lock(mLock);
    std::vector<Delivered> found;
    for (const Delivered& delivered : mDelivered)
    {
        if (delivered.mID == identifier)
        {
            found.push_back(delivered);
        }
    }
    return found;
}

void NotificationRecorder::Clear()
{
    QZ::Mutex::ScopedLock lock(mLock);
    mDelivered.clear();
}

std::vector<QZ::ParamValue> StatesOf(const QZ::RCPtr<QZ::LRefCountedObject>& payload)
{
    std::vector<QZ::ParamValue> states;
    if (const auto* pair = dynamic_cast<const LRootModuleEngine::ParamStatePayload*>(payload.Get()))
    {
        states.emplace_back(pair->GetFirst(), pair->GetSecond());
    }
    else if (const auto* list =
                 dynamic_cast<const LRootModuleEngine::ParamStatesPayload*>(payload.Get()))
    {
        for (std::uint32_t index = 0; index < list->GetListItemCount(); ++index)
        {
            QZ::ParamValue state;
            EXPECT_EQ(list->GetItem(index, state.mValue, state.mDescriptor.mParamID,
                                    state.mDescriptor.mSubKey),
                      0);
            states.push_back(state);
        }
    }
    return states;
}

std::vector<QZ::ParamValue> StatesOf(const std::vector<Delivered>& delivered)
{
    std::vector<QZ::ParamValue> states;
    for (const Delivered& notification : delivered)
    {
        const std::vector<QZ::ParamValue> some = StatesOf(notification.mPayload);
        states.insert(states.end(), some.begin(), some.end());
    }
    return states;
}

QZ::Variant MakePresetValue(std::int32_t number, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(GetPresetParamValueSize(number));
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(seed + i);
    }
    QZ::Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

QZ::Variant MakeText(const char* text)
{
    QZ::Variant value;
    value.SetBytes(text, static_cast<std::uint32_t>(std::strlen(text)));
    return value;
}

EngineHarness::EngineHarness() : mRecorder(new NotificationRecorder())
{
    QZ::LNotification::EnablePooling(true);
    const QZ::RCPtr<QZ::LNotificationCenter> center = QZ::GetApplicationNotificationCenter();
    for (const char16_t* identifier :
         {QZ::NID_PARAM_MODULE_STATE_CHANGE, QZ::NID_DEVICE_CONNECTION_STATE_CHANGE,
          QZ::NID_REMOTE_DEVICE_LIST_CHANGE})
    {
        EXPECT_NE(mRecorder->Subscribe(center, identifier, 0), nullptr);
    }
}

EngineHarness::~EngineHarness()
{
    mApplication.ReleaseRootModuleEngine();
    static_cast<void>(mRecorder->UnsubscribeAll());
    QZ::LNotificationCenterManager::ReleaseInstance();
    QZ::LNotification::EnablePooling(false);
}

void EngineHarness::StartEngine()
{
    mApplication.CreateRootModuleEngine();
    ASSERT_TRUE(Engine());
}

QZ::RCPtr<LRootModuleEngine> EngineHarness::Engine() const
{
    return GetRootModuleEngine();
}

void EngineHarness::ProcessQueue()
{
    static_cast<void>(QZ::GetApplicationNotificationCenter()->ProcessQueue(false));
}

bool EngineHarness::ProcessUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true)
    {
        ProcessQueue();
        if (condition())
        {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::vector<std::int32_t> EngineHarness::GetPostedConnectionStates() const
{
    std::vector<std::int32_t> states;
    for (const Delivered& delivered : GetDelivered(QZ::NID_DEVICE_CONNECTION_STATE_CHANGE))
    {
        const auto* holder = dynamic_cast<const LRootModuleEngine::ConnectionStatePayload*>(
            delivered.mPayload.Get());
        states.push_back(holder == nullptr ? -1 : holder->GetValue());
    }
    return states;
}

} // namespace EngineTestSupport
