#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/NotificationQueue.h"
#include "QZFramework/Notification/RCPtrQueue.h"
#include "QZFramework/Notification/tests/TestReceivers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

using test::DeliveryLog;
using test::Make;
using test::Names;
using test::RecordingClient;
using test::TrackedDistributor;
using Strings = std::vector<std::string>;

class Item : public LRefCountedObject
{
public:
    explicit Item(int value) : mValue(value) {}
    int mValue;
};

// A ring of 256 slots holds one item fewer than its slots, then grows by the items it needs,
// also when it has wrapped, without losing or reordering any; draining keeps its slots.
TEST(RCPtrQueue, GrowsPastItsSlotsWithoutLosingOrReordering)
{
    // A positive step enqueues that many numbered items, a negative one dequeues as many and
    // expects them in order; then the ring has the slots given (0: not checked).
    struct Step
    {
        int items;
        std::uint32_t slots;
    };
    const struct
    {
        bool locked;
        std::vector<Step> steps;
    } cases[] = {
        {true, {{255, 256}, {1, 257}, {-256, 257}}},
        {false, {{300, 301}, {-300, 301}}},
        {false, {{200, 0}, {-200, 0}, {400, 401}, {-150, 401}, {100, 0}, {-350, 0}}},
    };
    for (const auto& c : cases)
    {
        Mutex lock;
        RCPtrQueue<Item, 256> ring(c.locked ? &lock : nullptr);
        int enqueued = 0;
        int dequeued = 0;
        for (const Step& step : c.steps)
        {
            SCOPED_TRACE(::testing::Message() << "after " << enqueued << " in, " << dequeued
                                              << " out: " << step.items);
            for (int i = 0; i < step.items; ++i)
            {
                ring.Enqueue(RCPtr<Item>(new Item(enqueued++)));
            }
            for (int i = 0; i < -step.items; ++i)
            {
                RCPtr<Item> item;
                ring.Dequeue(item);
                ASSERT_EQ(item->mValue, dequeued++);
            }
            EXPECT_EQ(ring.GetCount(), static_cast<std::uint32_t>(enqueued - dequeued));
            if (step.slots != 0)
            {
                EXPECT_EQ(ring.GetSlotCount(), step.slots);
            }
        }
    }
}

TEST(RCPtrQueue, DequeueOfAnEmptyRingThrowsARuntimeError)
{
    RCPtrQueue<LNotification, 256> ring(nullptr);
    RCPtr<LNotification> out;
    try
    {
        ring.Dequeue(out);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        const std::string text = error.what();
        EXPECT_EQ(text.rfind(
                      "Runtime Error : QZ::RCPtrQueue<class QZ::LNotification,256>::Dequeue : ", 0),
                  0u)
            << text;
    }
}

// A centre of its own per test, outside the process-wide manager.
struct CenterFixture
{
    DeliveryLog log;
    RCPtr<LNotificationCenter> center{new LNotificationCenter(u"test")};

    RCPtr<RecordingClient> Client(const std::string& name, const char16_t* identifier,
                                  std::uint32_t flags = 0)
    {
        RCPtr<RecordingClient> client(new RecordingClient(name, log));
        client->Subscribe(center, identifier, flags);
        return client;
    }
};

TEST(NotificationQueue, PostedNotificationsWaitForAPassAndArriveInOrder)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    std::vector<const LNotification*> posted;
    for (int i = 0; i < 300; ++i)
    {
        const RCPtr<LNotification> notification = Make(NID_VALUE_CHANGE);
        ASSERT_EQ(f.center->Post(notification), S_OK);
        EXPECT_TRUE(notification->IsPosted());
        posted.push_back(notification.Get());
    }
    EXPECT_TRUE(f.log.empty());
    EXPECT_GT(f.center->GetSlotCount(), 256u);
    EXPECT_FALSE(f.center->ProcessQueue(false));
    ASSERT_EQ(f.log.size(), 300u);
    for (std::size_t i = 0; i < posted.size(); ++i)
    {
        EXPECT_EQ(f.log[i].notification, posted[i]);
        EXPECT_EQ(f.log[i].sender, static_cast<LNotificationDistributor*>(f.center.Get()));
    }
    EXPECT_GT(f.center->GetSlotCount(), 256u);
}

TEST(NotificationQueue, SecondPostOfTheSameNotificationIsRefused)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const RCPtr<LNotification> notification = Make(NID_VALUE_CHANGE);
    EXPECT_EQ(f.center->Post(notification), S_OK);
    EXPECT_EQ(f.center->Post(notification), E_INVALIDARG);
    EXPECT_EQ(f.center->Post(nullptr), E_INVALIDARG);
    f.center->ProcessQueue(false);
    EXPECT_EQ(f.log.size(), 1u);
    EXPECT_FALSE(notification->IsPosted());
    EXPECT_EQ(f.center->Post(notification), S_OK);
}

TEST(NotificationQueue, WhatReceiversPostWaitsForTheNextPass)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto b = f.Client("B", NID_MOUSE_UP);
    a->mAction = [&](RecordingClient&, const RCPtr<LNotificationDistributor>&,
                     const RCPtr<LNotification>&) { f.center->Post(Make(NID_MOUSE_UP)); };
    f.center->Post(Make(NID_VALUE_CHANGE));
    EXPECT_TRUE(f.center->ProcessQueue(false));
    EXPECT_EQ(Names(f.log), Strings{"A"});
    EXPECT_FALSE(f.center->ProcessQueue(false));
    EXPECT_EQ(Names(f.log), (Strings{"A", "B"}));
}

TEST(NotificationQueue, PassEnteredAgainFromAReceiverDeliversNothing)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto idle = f.Client("idle", NID_IDLE);
    bool nestedRemaining = false;
    a->mAction =
        [&](RecordingClient&, const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    { nestedRemaining = f.center->ProcessQueue(true); };
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->ProcessQueue(false);
    EXPECT_EQ(Names(f.log), (Strings{"A", "idle", "A", "idle"}));
    EXPECT_FALSE(nestedRemaining);
}

TEST(NotificationQueue, ModalLoopOfAReceiverDeliversTheRestAndWhatComesMeanwhile)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto b = f.Client("B", NID_MOUSE_UP);
    const auto exit = f.Client("exit", NID_APP_EXIT_REQ);
    int modalPasses = 0;
    // The first A opens a modal loop that runs two passes: the first takes the second A and the
    // B queued behind it, the second the exit request posted while the loop runs.
    a->mAction =
        [&](RecordingClient&, const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    {
        if (modalPasses++ > 0)
        {
            return;
        }
        const LNotificationQueue::ModalScope modal;
        f.center->ProcessQueue(false);
        f.center->Post(Make(NID_APP_EXIT_REQ));
        EXPECT_FALSE(f.center->ProcessQueue(false));
    };
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->Post(Make(NID_MOUSE_UP));
    // The outer pass delivers nothing twice, and leaves what came after its loop for later.
    EXPECT_FALSE(f.center->ProcessQueue(false));
    EXPECT_EQ(Names(f.log), (Strings{"A", "A", "B", "exit"}));
    f.center->Post(Make(NID_MOUSE_UP));
    EXPECT_FALSE(f.center->ProcessQueue(false));
    EXPECT_EQ(Names(f.log), (Strings{"A", "A", "B", "exit", "B"}));
}

TEST(NotificationQueue, IdlePassOverAnEmptyQueueDeliversOnlyIdle)
{
    CenterFixture f;
    const auto idle = f.Client("idle", NID_IDLE);
    const auto value = f.Client("value", NID_VALUE_CHANGE);
    EXPECT_FALSE(f.center->ProcessQueue(true));
    EXPECT_EQ(Names(f.log), Strings{"idle"});
    EXPECT_FALSE(f.center->ProcessQueue(false));
    EXPECT_EQ(f.log.size(), 1u);
}

TEST(NotificationQueue, QueuedOnlyRegistrationGetsTheLastOfSeveralPostsOnce)
{
    CenterFixture f;
    const auto status =
        f.Client("status", NID_SET_STATUS_TEXT, LNotificationDistributor::kQueuedOnly);
    const auto plain = f.Client("plain", NID_SET_STATUS_TEXT);
    const RCPtr<LNotification> first = Make(NID_SET_STATUS_TEXT);
    const RCPtr<LNotification> second = Make(NID_SET_STATUS_TEXT);
    f.center->Post(first);
    f.center->Post(second);
    f.center->ProcessQueue(false);
    ASSERT_EQ(Names(f.log), (Strings{"plain", "plain", "status"}));
    EXPECT_EQ(f.log[0].notification, first.Get());
    EXPECT_EQ(f.log[2].notification, second.Get());
    f.log.clear();
    f.center->Distribute(second);
    EXPECT_EQ(Names(f.log), Strings{"plain"});
}

TEST(NotificationQueue, QueueWithoutDistributorRefusesPosts)
{
    const RCPtr<LNotificationQueue> queue(new LNotificationQueue());
    const RCPtr<LNotification> notification = Make(NID_VALUE_CHANGE);
    EXPECT_EQ(queue->Post(notification), E_FAIL);
    EXPECT_FALSE(notification->IsPosted());
    EXPECT_EQ(queue->GetCount(), 0u);
    EXPECT_FALSE(queue->ProcessQueue(true));
}

TEST(NotificationQueue, DistributorIsSetOnce)
{
    const RCPtr<LNotificationQueue> queue(new LNotificationQueue());
    const RCPtr<LNotificationDistributor> first(new TrackedDistributor());
    EXPECT_EQ(queue->SetDistributor(nullptr), S_OK);
    EXPECT_EQ(queue->SetDistributor(first), S_OK);
    EXPECT_EQ(queue->SetDistributor(RCPtr<LNotificationDistributor>(new TrackedDistributor())),
              E_FAIL);
    queue->Disconnect();
    EXPECT_EQ(queue->SetDistributor(first), E_FAIL);
    EXPECT_EQ(first->GetRefCount(), 1);
}

TEST(NotificationQueue, PostingReceiverQueuesACopy)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_MENU_FILE_EXIT_REQ);
    RCPtr<LNotificationReceiver> posting;
    f.center->GetPostingReceiver(posting);
    ASSERT_TRUE(posting);
    const RCPtr<LRefCountedObject> payload(new Item(3));
    const RCPtr<LNotification> sent = Make(NID_MENU_FILE_EXIT_REQ, payload);
    posting->ReceiveNotification(nullptr, sent);
    EXPECT_FALSE(sent->IsPosted());
    EXPECT_EQ(posting->Unsubscribe(f.center, NID_MENU_FILE_EXIT_REQ), E_FAIL);
    f.center->ProcessQueue(false);
    ASSERT_EQ(f.log.size(), 1u);
    EXPECT_NE(f.log[0].notification, sent.Get());
    EXPECT_EQ(f.log[0].identifier, sent->GetID());
    EXPECT_EQ(f.log[0].payload, payload.Get());
}

TEST(NotificationQueue, DisconnectDropsQueuedNotificationsAndThePostingReceiver)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const RCPtr<LNotification> notification = Make(NID_VALUE_CHANGE);
    f.center->Post(notification);
    RCPtr<LNotificationReceiver> posting;
    f.center->GetPostingReceiver(posting);
    f.center->Disconnect();
    EXPECT_FALSE(notification->IsPosted());
    EXPECT_EQ(f.center->GetCount(), 0u);
    posting->ReceiveNotification(nullptr, Make(NID_VALUE_CHANGE));
    EXPECT_EQ(f.center->Post(Make(NID_VALUE_CHANGE)), E_FAIL);
    f.center->ProcessQueue(true);
    EXPECT_TRUE(f.log.empty());
    a->UnsubscribeAll();
}

TEST(NotificationQueue, ThrowingReceiverDoesNotWedgeTheQueue)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto thrower = f.Client("thrower", NID_VALUE_CHANGE);
    thrower->mAction =
        [](RecordingClient&, const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    { throw std::runtime_error("bad receiver"); };
    const RCPtr<LNotification> first = Make(NID_VALUE_CHANGE);
    f.center->Post(first);
    f.center->Post(Make(NID_VALUE_CHANGE));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.center->ProcessQueue(false));
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_NE(logged.find("NID_VALUE_CHANGE"), std::string::npos) << logged;
    EXPECT_NE(logged.find("bad receiver"), std::string::npos) << logged;
    EXPECT_EQ(Names(f.log), (Strings{"thrower", "thrower"}));
    EXPECT_FALSE(first->IsPosted());

    thrower->mAction = nullptr;
    f.log.clear();
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->ProcessQueue(false);
    EXPECT_EQ(Names(f.log), (Strings{"thrower", "A"}));
}

int gPostWakes = 0;

// A receiver that disconnects the queue during a pass ends its deliveries: the rest of the pass
// is dropped unmarked and the pass returns normally. Posts wake the processing thread when they
// find the queue empty, not for every notification.
TEST(NotificationQueue, DisconnectDuringAPassDropsTheRestAndOnlyAFirstPostWakes)
{
    CenterFixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    gPostWakes = 0;
    LNotificationQueue::SetPostWake([] { ++gPostWakes; });
    const RCPtr<LNotification> second = Make(NID_VALUE_CHANGE);
    f.center->Post(Make(NID_VALUE_CHANGE));
    f.center->Post(second);
    EXPECT_EQ(gPostWakes, 1);
    a->mAction = [&](RecordingClient&, const RCPtr<LNotificationDistributor>&,
                     const RCPtr<LNotification>&) { f.center->Disconnect(); };
    EXPECT_NO_THROW(EXPECT_FALSE(f.center->ProcessQueue(false)));
    LNotificationQueue::SetPostWake(nullptr);
    EXPECT_EQ(Names(f.log), Strings{"A"});
    EXPECT_FALSE(second->IsPosted());
}

TEST(NotificationQueue, StandaloneQueueDiesWithItsLastOutsideReference)
{
    const RCPtr<LNotificationDistributor> distributor(new TrackedDistributor());
    RCPtr<LNotificationQueue> queue(new LNotificationQueue());
    queue->SetDistributor(distributor);
    queue->Post(Make(NID_VALUE_CHANGE));
    EXPECT_EQ(distributor->GetRefCount(), 2);
    queue = nullptr;
    EXPECT_EQ(distributor->GetRefCount(), 1);
}

TEST(NotificationCenterManager, CentresAreFoundByName)
{
    const RCPtr<LNotificationCenterManager> manager = LNotificationCenterManager::GetInstance();
    EXPECT_TRUE(manager->GetCenter(u"").IsNull());
    const RCPtr<LNotificationCenter> application = GetApplicationNotificationCenter();
    ASSERT_TRUE(application);
    EXPECT_TRUE(application->GetName() == u"application");
    EXPECT_EQ(manager->GetCenter(u"application").Get(), application.Get());
    EXPECT_NE(manager->GetCenter(u"Application").Get(), application.Get());
}

TEST(NotificationCenterManager, ProcessQueuesDrainsEveryCentre)
{
    DeliveryLog log;
    const RCPtr<LNotificationCenterManager> manager = LNotificationCenterManager::GetInstance();
    const RCPtr<RecordingClient> client(new RecordingClient("A", log));
    const RCPtr<LNotificationCenter> first = manager->GetCenter(u"first");
    const RCPtr<LNotificationCenter> second = manager->GetCenter(u"second");
    client->Subscribe(first, NID_VALUE_CHANGE, 0);
    client->Subscribe(second, NID_VALUE_CHANGE, 0);
    first->Post(Make(NID_VALUE_CHANGE));
    second->Post(Make(NID_VALUE_CHANGE));
    EXPECT_FALSE(manager->ProcessQueues(false));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].sender, static_cast<LNotificationDistributor*>(second.Get()));
    EXPECT_EQ(log[1].sender, static_cast<LNotificationDistributor*>(first.Get()));
    client->UnsubscribeAll();
}

TEST(NotificationCenterManager, ReleasingTheManagerUnsubscribesClientsAndEndsCentres)
{
    DeliveryLog log;
    const RCPtr<RecordingClient> client(new RecordingClient("A", log));
    client->Subscribe(GetApplicationNotificationCenter(), NID_APP_EXIT_REQ, 0);
    const RCPtr<LNotification> exit = Make(NID_APP_EXIT_REQ);
    GetApplicationNotificationCenter()->Post(exit);
    EXPECT_EQ(exit->GetRefCount(), 2);

    LNotificationCenterManager::ReleaseInstance();
    EXPECT_EQ(client->GetRegistrationCount(), 0);
    EXPECT_EQ(client->GetDistributorCount(), 0u);
    EXPECT_EQ(client->GetRefCount(), 1);
    EXPECT_FALSE(exit->IsPosted());
    EXPECT_EQ(exit->GetRefCount(), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(GetApplicationNotificationCenter());
}

TEST(NotificationCenterManager, ClientLeftOnlyWithItsRegistrationDies)
{
    DeliveryLog log;
    bool clientGone = false;
    RCPtr<RecordingClient> client(new RecordingClient("A", log, &clientGone));
    client->Subscribe(GetApplicationNotificationCenter(), NID_APP_EXIT_REQ, 0);
    client = nullptr;
    EXPECT_TRUE(clientGone);
}

} // namespace
} // namespace QZ
