// An application stand-in for the engine's tests: notification pooling on, the "application"
// centre with a recorder subscribed to everything the engine posts, and the application object,
// whose engine each test starts when it is ready.
#pragma once

#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/System/Mutex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace EngineTestSupport
{

// One notification as the recorder received it.
struct Delivered
{
    std::u16string mID;
    QZ::RCPtr<QZ::LRefCountedObject> mPayload;
};

class NotificationRecorder : public QZ::LNotificationClient
{
public:
    void ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>& sender,
                             const QZ::RCPtr<QZ::LNotification>& notification) override;

    // What arrived for identifier, oldest first.
    [[nodiscard]] std::vector<Delivered> GetDelivered(const char16_t* identifier) const;
    void Clear();

private:
    mutable QZ::Mutex mLock;
    std::vector<Delivered> mDelivered;
};

// The parameter states of one "NID_PARAM_MODULE_STATE_CHANGE" payload, in order: one for a pair,
// the list's items for a list, none for anything else.
[[nodiscard]] std::vector<QZ::ParamValue> StatesOf(const QZ::RCPtr<QZ::LRefCountedObject>& payload);
// All states of those notifications, in order.
[[nodiscard]] std::vector<QZ::ParamValue> StatesOf(const std::vector<Delivered>& delivered);
// A value of the right size for preset parameter number, its bytes counting up from seed.
[[nodiscard]] QZ::Variant MakePresetValue(std::int32_t number, std::uint8_t seed);
[[nodiscard]] QZ::Variant MakeText(const char* text);

class EngineHarness : public ::testing::Test
{
protected:
    EngineHarness();
    ~EngineHarness() override;

    // The application's start-up step that creates the engine and initialises it.
    void StartEngine();
    [[nodiscard]] QZ::RCPtr<LRootModuleEngine> Engine() const;
    // One pass of the application centre's queue, as the application makes at idle.
    void ProcessQueue();
    // Queue passes until condition holds; false when timeoutMs passed first.
    bool ProcessUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs = 10000);
    [[nodiscard]] std::vector<Delivered> GetDelivered(const char16_t* identifier) const
    {
        return mRecorder->GetDelivered(identifier);
    }
    // The connection states posted so far.
    [[nodiscard]] std::vector<std::int32_t> GetPostedConnectionStates() const;

    LApplication mApplication;
    QZ::RCPtr<NotificationRecorder> mRecorder;
};

} // namespace EngineTestSupport
