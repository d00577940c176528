// Receivers and payloads for the notification tests: they log what they receive and can act
// during a delivery.
#pragma once

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationID.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace QZ
{
namespace test
{

// What a receiver saw; the notification's address only identifies it (it may be recycled since).
struct Delivery
{
    std::string receiver;
    const LNotification* notification;
    const LNotificationDistributor* sender;
    const char16_t* identifier;
    const LRefCountedObject* payload;
};

using DeliveryLog = std::vector<Delivery>;

class RecordingClient : public LNotificationClient
{
public:
    using Action = std::function<void(RecordingClient& self, const RCPtr<LNotificationDistributor>&,
                                      const RCPtr<LNotification>&)>;

    RecordingClient(std::string name, DeliveryLog& log, bool* destroyed = nullptr)
        : mName(std::move(name)), mLog(log), mDestroyed(destroyed)
    {
    }
    ~RecordingClient() override
    {
        if (mDestroyed != nullptr)
        {
            *mDestroyed = true;
        }
    }

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        mLog.push_back({mName, notification.Get(), sender.Get(), notification->GetID(),
                        notification->GetPayload().Get()});
        if (mAction)
        {
            mAction(*this, sender, notification);
        }
    }

    Action mAction;

private:
    std::string mName;
    DeliveryLog& mLog;
    bool* mDestroyed;
};

inline std::vector<std::string> Names(const DeliveryLog& log)
{
    std::vector<std::string> names;
    for (const Delivery& delivery : log)
    {
        names.push_back(delivery.receiver);
    }
    return names;
}

class TrackedDistributor : public LNotificationDistributor
{
public:
    explicit TrackedDistributor(bool* destroyed = nullptr) : mDestroyed(destroyed) {}
    ~TrackedDistributor() override
    {
        if (mDestroyed != nullptr)
        {
            *mDestroyed = true;
        }
    }

private:
    bool* mDestroyed;
};

// A payload that reports its destruction.
class TrackedPayload : public LRefCountedObject
{
public:
    explicit TrackedPayload(int* destroyed) : mDestroyed(destroyed) {}
    ~TrackedPayload() override { ++*mDestroyed; }

private:
    int* mDestroyed;
};

inline RCPtr<LNotification> Make(const char16_t* identifier,
                                 const RCPtr<LRefCountedObject>& payload = nullptr)
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, identifier, payload);
    return notification;
}

} // namespace test
} // namespace QZ
