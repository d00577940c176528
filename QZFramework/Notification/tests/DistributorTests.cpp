#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/tests/TestReceivers.h"

#include <gtest/gtest.h>

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

struct Fixture
{
    DeliveryLog log;
    RCPtr<LNotificationDistributor> distributor{new TrackedDistributor()};

    RCPtr<RecordingClient> Client(const std::string& name, const char16_t* identifier,
                                  std::uint32_t flags = 0)
    {
        RCPtr<RecordingClient> client(new RecordingClient(name, log));
        client->Subscribe(distributor, identifier, flags);
        return client;
    }
};

TEST(Distribution, LatestRegistrationIsCalledFirst)
{
    Fixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto b = f.Client("B", NID_VALUE_CHANGE);
    const auto c = f.Client("C", NID_VALUE_CHANGE);
    const auto other = f.Client("other", NID_MOUSE_UP);
    EXPECT_EQ(f.distributor->Distribute(Make(NID_VALUE_CHANGE)), S_OK);
    EXPECT_EQ(Names(f.log), (Strings{"C", "B", "A"}));
    EXPECT_EQ(f.log[0].sender, f.distributor.Get());
}

TEST(Distribution, NobodyRegisteredOrNullNotification)
{
    Fixture f;
    EXPECT_EQ(f.distributor->Distribute(Make(NID_TAB_SELECTED)), S_FALSE);
    EXPECT_EQ(f.distributor->Distribute(nullptr), E_INVALIDARG);
    const auto a = f.Client("A", NID_TAB_SELECTED);
    a->Unsubscribe(f.distributor, NID_TAB_SELECTED);
    EXPECT_EQ(f.distributor->Distribute(Make(NID_TAB_SELECTED)), S_FALSE);
    EXPECT_TRUE(f.log.empty());
}

// A receiver unsubscribing one of the pool (itself, one already called, one not yet called)
// during its call disturbs nobody else's delivery; the one removed gets no later call.
TEST(Distribution, ReceiverRemovingOneDuringItsCallSkipsOnlyThatOne)
{
    const struct
    {
        int count;
        char actor;
        char removed;
        Strings first;
        Strings second;
    } cases[] = {
        {3, 'B', 'B', {"C", "B", "A"}, {"C", "A"}},
        {3, 'B', 'C', {"C", "B", "A"}, {"B", "A"}},
        {4, 'C', 'B', {"D", "C", "A"}, {"D", "C", "A"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.actor << " removes " << c.removed);
        Fixture f;
        std::vector<RCPtr<RecordingClient>> clients;
        for (int i = 0; i < c.count; ++i)
        {
            clients.push_back(
                f.Client(std::string(1, static_cast<char>('A' + i)), NID_VALUE_CHANGE));
        }
        const RCPtr<RecordingClient> removed = clients[c.removed - 'A'];
        clients[c.actor - 'A']->mAction = [removed](RecordingClient&,
                                                    const RCPtr<LNotificationDistributor>& sender,
                                                    const RCPtr<LNotification>&)
        { removed->Unsubscribe(sender, NID_VALUE_CHANGE); };
        f.distributor->Distribute(Make(NID_VALUE_CHANGE));
        EXPECT_EQ(Names(f.log), c.first);
        f.log.clear();
        f.distributor->Distribute(Make(NID_VALUE_CHANGE));
        EXPECT_EQ(Names(f.log), c.second);
        for (const RCPtr<RecordingClient>& client : clients)
        {
            client->mAction = nullptr;
        }
    }
}

TEST(Distribution, RegistrationDuringADeliveryWaitsForTheNext)
{
    Fixture f;
    RCPtr<RecordingClient> late;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    a->mAction =
        [&](RecordingClient&, const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    {
        if (!late)
        {
            late = f.Client("late", NID_VALUE_CHANGE);
        }
    };
    f.distributor->Distribute(Make(NID_VALUE_CHANGE));
    EXPECT_EQ(Names(f.log), (Strings{"A"}));
    f.log.clear();
    f.distributor->Distribute(Make(NID_VALUE_CHANGE));
    EXPECT_EQ(Names(f.log), (Strings{"late", "A"}));
}

TEST(Distribution, ReceiverMayDistributeAgainFromItsCall)
{
    Fixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto b = f.Client("B", NID_MOUSE_UP);
    a->mAction = [](RecordingClient&, const RCPtr<LNotificationDistributor>& sender,
                    const RCPtr<LNotification>&) { sender->Distribute(Make(NID_MOUSE_UP)); };
    f.distributor->Distribute(Make(NID_VALUE_CHANGE));
    EXPECT_EQ(Names(f.log), (Strings{"A", "B"}));
}

TEST(Distribution, QueuedOnlyRegistrationIgnoresDirectDelivery)
{
    Fixture f;
    const auto status =
        f.Client("status", NID_SET_STATUS_TEXT, LNotificationDistributor::kQueuedOnly);
    const auto plain = f.Client("plain", NID_SET_STATUS_TEXT);
    f.distributor->Distribute(Make(NID_SET_STATUS_TEXT));
    EXPECT_EQ(Names(f.log), (Strings{"plain"}));
}

TEST(Registration, RegisteringTwiceKeepsOneRegistrationWithTheNewFlags)
{
    Fixture f;
    const RCPtr<LNotificationReceiver> a(new RecordingClient("A", f.log));
    EXPECT_EQ(f.distributor->AddClient(a, NID_VALUE_CHANGE, 0), S_OK);
    EXPECT_EQ(f.distributor->AddClient(a, NID_VALUE_CHANGE, 1), S_FALSE);
    std::uint32_t flags = 0;
    EXPECT_EQ(f.distributor->GetClientFlags(a, NID_VALUE_CHANGE, flags), S_OK);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 1);
    const auto pool = f.distributor->FindClientPool(GetNotificationID(NID_VALUE_CHANGE));
    ASSERT_TRUE(pool);
    EXPECT_EQ(pool->GetRegistrationCount(), 1);
    EXPECT_EQ(pool->GetFlagUnion(), 1u);
    EXPECT_EQ(f.distributor->RemoveClientFromAll(a), 1);
}

TEST(Registration, FlagUnionFollowsChangesButNotRemovals)
{
    Fixture f;
    const RCPtr<LNotificationReceiver> a(new RecordingClient("A", f.log));
    const RCPtr<LNotificationReceiver> b(new RecordingClient("B", f.log));
    f.distributor->AddClient(a, NID_SET_STATUS_TEXT, 1);
    f.distributor->AddClient(b, NID_SET_STATUS_TEXT, 0);
    const auto pool = f.distributor->FindClientPool(GetNotificationID(NID_SET_STATUS_TEXT));
    EXPECT_EQ(pool->GetFlagUnion(), 1u);
    EXPECT_EQ(f.distributor->RemoveClient(a, NID_SET_STATUS_TEXT), S_OK);
    EXPECT_EQ(pool->GetFlagUnion(), 1u);
    f.distributor->AddClient(b, NID_SET_STATUS_TEXT, 2);
    EXPECT_EQ(pool->GetFlagUnion(), 2u);
    f.distributor->RemoveClientFromAll(b);
}

TEST(Registration, ResultsForBadArgumentsAndMissingRegistrations)
{
    Fixture f;
    const RCPtr<LNotificationReceiver> a(new RecordingClient("A", f.log));
    std::uint32_t flags = 0;
    EXPECT_EQ(f.distributor->AddClient(nullptr, NID_IDLE, 0), E_INVALIDARG);
    EXPECT_EQ(f.distributor->AddClient(a, u"", 0), S_FALSE);
    EXPECT_EQ(f.distributor->AddClient(a, nullptr, 0), S_FALSE);
    EXPECT_EQ(f.distributor->RemoveClient(nullptr, NID_IDLE), E_INVALIDARG);
    EXPECT_EQ(f.distributor->RemoveClient(a, u""), E_INVALIDARG);
    EXPECT_EQ(f.distributor->RemoveClient(a, NID_IDLE), S_FALSE);
    EXPECT_EQ(f.distributor->RemoveClientFromAll(nullptr), E_INVALIDARG);
    EXPECT_EQ(f.distributor->GetClientFlags(a, NID_IDLE, flags), E_FAIL);
    EXPECT_FALSE(f.distributor->IsClientRegistered(a));
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
}

TEST(Registration, ClientSubscribeAndUnsubscribeResults)
{
    Fixture f;
    const RCPtr<RecordingClient> a(new RecordingClient("A", f.log));
    EXPECT_EQ(a->Unsubscribe(f.distributor, NID_IDLE), S_FALSE);
    EXPECT_EQ(a->Subscribe(nullptr, NID_IDLE, 0), nullptr);
    EXPECT_EQ(a->Subscribe(f.distributor, u"", 0), nullptr);
    EXPECT_EQ(a->Subscribe(f.distributor, NID_IDLE, 0), GetNotificationID(NID_IDLE));
    EXPECT_EQ(a->Subscribe(f.distributor, NID_MOUSE_UP, 0), GetNotificationID(NID_MOUSE_UP));
    EXPECT_EQ(a->GetRegistrationCount(), 2);
    EXPECT_EQ(a->GetDistributorCount(), 1u);
    EXPECT_EQ(a->Unsubscribe(nullptr, NID_IDLE), E_INVALIDARG);
    EXPECT_EQ(a->Unsubscribe(f.distributor, NID_LEFT_CLICK), S_FALSE);
    EXPECT_EQ(a->Unsubscribe(f.distributor, NID_IDLE), S_OK);
    EXPECT_EQ(a->GetDistributorCount(), 1u);
    EXPECT_EQ(a->UnsubscribeAll(), 1);
    EXPECT_EQ(a->GetRegistrationCount(), 0);
    EXPECT_EQ(a->GetDistributorCount(), 0u);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
}

TEST(Registration, ClientLeftOnlyWithRegistrationsUnsubscribesEverywhereAndDies)
{
    DeliveryLog log;
    bool clientGone = false;
    const RCPtr<LNotificationDistributor> first(new TrackedDistributor());
    const RCPtr<LNotificationDistributor> second(new TrackedDistributor());
    {
        const RCPtr<RecordingClient> client(new RecordingClient("A", log, &clientGone));
        client->Subscribe(first, NID_VALUE_CHANGE, 0);
        client->Subscribe(first, NID_MOUSE_UP, 0);
        client->Subscribe(second, NID_VALUE_CHANGE, 0);
        EXPECT_EQ(client->GetInternalRefCount(), 3);
    }
    EXPECT_TRUE(clientGone);
    EXPECT_EQ(first->GetRegistrationCount(), 0);
    EXPECT_EQ(second->GetRegistrationCount(), 0);
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(first->GetInternalRefCount(), 0);
}

TEST(Registration, PlainDistributorLivesWhileClientsAreRegistered)
{
    DeliveryLog log;
    bool distributorGone = false;
    const RCPtr<RecordingClient> client(new RecordingClient("A", log));
    {
        const RCPtr<LNotificationDistributor> distributor(new TrackedDistributor(&distributorGone));
        client->Subscribe(distributor, NID_VALUE_CHANGE, 0);
    }
    EXPECT_FALSE(distributorGone);
    EXPECT_EQ(client->UnsubscribeAll(), 1);
    EXPECT_TRUE(distributorGone);
}

TEST(Registration, UnsubscribeAllClientsLetsClientsCleanTheirLists)
{
    Fixture f;
    const auto a = f.Client("A", NID_VALUE_CHANGE);
    const auto b = f.Client("B", NID_VALUE_CHANGE);
    a->Subscribe(f.distributor, NID_MOUSE_UP, 0);
    EXPECT_EQ(f.distributor->UnsubscribeAllClients(), S_OK);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
    EXPECT_EQ(a->GetRegistrationCount(), 0);
    EXPECT_EQ(a->GetDistributorCount(), 0u);
    EXPECT_EQ(b->GetDistributorCount(), 0u);
}

TEST(Registration, NotifyClientAtKeepsItsIndexWhenALowerEntryLeaves)
{
    Fixture f;
    const auto a = f.Client("A", NID_SIBLING_KEY);
    const auto b = f.Client("B", NID_SIBLING_KEY);
    const auto c = f.Client("C", NID_SIBLING_KEY);
    c->mAction = [&](RecordingClient&, const RCPtr<LNotificationDistributor>& sender,
                     const RCPtr<LNotification>&) { a->Unsubscribe(sender, NID_SIBLING_KEY); };
    const auto pool = f.distributor->FindClientPool(GetNotificationID(NID_SIBLING_KEY));
    const RCPtr<LNotification> key = Make(NID_SIBLING_KEY);
    std::int32_t index = pool->NotifyClientAt(f.distributor, 2, key);
    EXPECT_EQ(index, 1);
    index = pool->NotifyClientAt(f.distributor, index - 1, key);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Names(f.log), (Strings{"C", "B"}));
    EXPECT_EQ(pool->NotifyClientAt(f.distributor, 5, key), 5);
}

// A client that handles notifications through a handler map, as the program's classes do.
class HandlingClient : public LNotificationClient
{
public:
    HandlingClient() : mHandler(new LNotificationHandler<HandlingClient>(this)) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        mHandler->HandleNotification(sender, notification);
    }
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override
    {
        mHandler->RemoveHandler(distributor, identifier);
        return LNotificationClient::Unsubscribe(distributor, identifier);
    }

    QZRESULT OnValue(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    {
        mCalls.push_back("value");
        return 5;
    }
    QZRESULT OnOther(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    {
        mCalls.push_back("other");
        return 6;
    }

    RCPtr<LNotificationHandler<HandlingClient>> mHandler;
    Strings mCalls;
};

TEST(Handler, MapsDistributorAndIdentifierToAMemberFunction)
{
    const RCPtr<LNotificationDistributor> distributor(new TrackedDistributor());
    const RCPtr<HandlingClient> client(new HandlingClient());
    auto& handler = *client->mHandler;
    EXPECT_EQ(handler.AddHandler(&HandlingClient::OnValue, distributor, NID_VALUE_CHANGE, 0), S_OK);
    EXPECT_EQ(handler.AddHandler(&HandlingClient::OnOther, distributor, NID_VALUE_CHANGE, 1), S_OK);
    EXPECT_EQ(handler.AddHandler(&HandlingClient::OnOther, nullptr, NID_VALUE_CHANGE, 0),
              E_INVALIDARG);
    EXPECT_EQ(handler.AddHandler(&HandlingClient::OnOther, distributor, u"", 0), E_FAIL);

    LNotificationHandler<HandlingClient>::Method method = nullptr;
    std::uint32_t flags = 0;
    EXPECT_EQ(handler.GetHandler(distributor, NID_VALUE_CHANGE, method, flags), S_OK);
    EXPECT_EQ(method, &HandlingClient::OnValue);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(handler.GetHandler(distributor, NID_MOUSE_UP, method, flags), E_FAIL);

    EXPECT_EQ(handler.HandleNotification(distributor, Make(NID_VALUE_CHANGE)), 5);
    EXPECT_EQ(handler.HandleNotification(distributor, Make(NID_MOUSE_UP)), S_OK);
    EXPECT_EQ(client->mCalls, Strings{"value"});
}

TEST(Handler, OwnersUnsubscribeRemovesTheMapping)
{
    const RCPtr<LNotificationDistributor> distributor(new TrackedDistributor());
    const RCPtr<HandlingClient> client(new HandlingClient());
    client->mHandler->AddHandler(&HandlingClient::OnValue, distributor, NID_VALUE_CHANGE, 0);
    client->mHandler->AddHandler(&HandlingClient::OnOther, distributor, NID_MOUSE_UP, 0);
    distributor->Distribute(Make(NID_MOUSE_UP));
    EXPECT_EQ(client->Unsubscribe(distributor, NID_MOUSE_UP), S_OK);
    EXPECT_EQ(client->mHandler->GetHandlerCount(), 1u);
    EXPECT_FALSE(client->mHandler->RemoveHandler(distributor, NID_MOUSE_UP));
    distributor->Distribute(Make(NID_MOUSE_UP));
    distributor->Distribute(Make(NID_VALUE_CHANGE));
    EXPECT_EQ(client->mCalls, (Strings{"other", "value"}));
    client->UnsubscribeAll();
}

} // namespace
} // namespace QZ
