// Concurrency tests, worth running under ThreadSanitizer: workers post to the "application"
// centre and distribute while the main thread subscribes, unsubscribes and runs queue passes.
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"
#include "QZFramework/Notification/tests/TestReceivers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

constexpr int kPosters = 4;
constexpr int kPostsEach = 5000;

// Checks on the main thread that each poster's notifications arrive once and in order; the
// payload carries the poster as new value and its sequence number as previous value.
class SequenceChecker : public LNotificationClient
{
public:
    SequenceChecker() : mNext(kPosters, 0) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        const RCPtr<LValueParam> value =
            RCPtr<LValueParam>::DynamicCastFrom(notification->GetPayload());
        if (!value)
        {
            ++mFaults;
            return;
        }
        const auto poster = static_cast<std::size_t>(value->GetPosition());
        if (static_cast<int>(value->GetScaledValue()) != mNext[poster])
        {
            ++mFaults;
        }
        mNext[poster] = static_cast<int>(value->GetScaledValue()) + 1;
        ++mDelivered;
    }

    std::vector<int> mNext;
    int mDelivered = 0;
    int mFaults = 0;
};

class CountingClient : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>&) override
    {
        ++mCalls;
    }
    std::atomic<int> mCalls{0};
};

void Post(int poster, std::atomic<int>& refused)
{
    const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter();
    for (int sequence = 0; sequence < kPostsEach; ++sequence)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_VALUE_CHANGE,
                              LValueParam::Create(poster, sequence));
        if (center->Post(notification) != S_OK)
        {
            ++refused;
        }
        if (sequence % 16 == 0)
        {
            RCPtr<LNotification> status;
            LNotification::Create(status, NID_SET_STATUS_TEXT);
            (void)center->Post(status);
        }
    }
}

TEST(NotificationConcurrency, PostsFromSeveralThreadsArriveOnceAndInOrderPerPoster)
{
    LNotification::EnablePooling(true);
    const RCPtr<LNotificationCenterManager> manager = LNotificationCenterManager::GetInstance();
    const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter();
    const RCPtr<SequenceChecker> checker(new SequenceChecker());
    checker->Subscribe(center, NID_VALUE_CHANGE, 0);
    const RCPtr<CountingClient> status(new CountingClient());
    status->Subscribe(center, NID_SET_STATUS_TEXT, LNotificationDistributor::kQueuedOnly);

    std::atomic<int> refused{0};
    std::atomic<int> running{kPosters};
    std::vector<std::thread> posters;
    for (int poster = 0; poster < kPosters; ++poster)
    {
        posters.emplace_back(
            [poster, &refused, &running]
            {
                Post(poster, refused);
                --running;
            });
    }
    std::vector<RCPtr<CountingClient>> transient;
    for (int pass = 0; running.load() > 0 || manager->ProcessQueues(true); ++pass)
    {
        transient.emplace_back(new CountingClient());
        transient.back()->Subscribe(center, pass % 2 == 0 ? NID_VALUE_CHANGE : NID_MOUSE_MOVE, 0);
        if (transient.size() > 3)
        {
            transient.front()->UnsubscribeAll();
            transient.erase(transient.begin());
        }
        (void)manager->ProcessQueues(true);
    }
    for (std::thread& poster : posters)
    {
        poster.join();
    }
    (void)manager->ProcessQueues(false);

    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(checker->mFaults, 0);
    EXPECT_EQ(checker->mDelivered, kPosters * kPostsEach);
    EXPECT_EQ(checker->mNext, std::vector<int>(kPosters, kPostsEach));
    EXPECT_GE(status->mCalls.load(), 1);
    EXPECT_LE(status->mCalls.load(), kPosters * (kPostsEach / 16 + 1));
    for (const RCPtr<CountingClient>& client : transient)
    {
        client->UnsubscribeAll();
    }
    checker->UnsubscribeAll();
    status->UnsubscribeAll();
    LNotification::EnablePooling(false);
}

// Unsubscribes itself from within its own call, from the distributing thread.
class SelfRemovingClient : public CountingClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        CountingClient::ReceiveNotification(sender, notification);
        Unsubscribe(sender, NID_MIDI_DATA_CAPTURED);
    }
};

TEST(NotificationConcurrency, WorkerDistributesWhileTheMainThreadRegisters)
{
    constexpr int kNotifications = 20000;
    const RCPtr<LNotificationDistributor> distributor(new test::TrackedDistributor());
    const RCPtr<CountingClient> permanent(new CountingClient());
    permanent->Subscribe(distributor, NID_MIDI_DATA_CAPTURED, 0);
    std::atomic<bool> done{false};
    std::thread worker(
        [&]
        {
            for (int i = 0; i < kNotifications; ++i)
            {
                RCPtr<LNotification> notification;
                LNotification::Create(notification, NID_MIDI_DATA_CAPTURED);
                distributor->Distribute(notification);
            }
            done = true;
        });
    while (!done.load())
    {
        const RCPtr<CountingClient> passing(new CountingClient());
        passing->Subscribe(distributor, NID_MIDI_DATA_CAPTURED, 0);
        const RCPtr<SelfRemovingClient> once(new SelfRemovingClient());
        once->Subscribe(distributor, NID_MIDI_DATA_CAPTURED, 0);
        std::this_thread::yield();
        passing->UnsubscribeAll();
        EXPECT_LE(once->mCalls.load(), 1);
    }
    worker.join();
    EXPECT_EQ(permanent->mCalls.load(), kNotifications);
    permanent->UnsubscribeAll();
}

} // namespace
} // namespace QZ
