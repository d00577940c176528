// Throughput of the notification system on one core: posting through a centre's queue and
// delivering at the next pass, and delivering at once through a distributor. Notification pooling
// is on, as in the running program. Run with --benchmark_repetitions=10 and read the medians.
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"

#include <benchmark/benchmark.h>

namespace QZ
{
namespace
{

// Receives through a handler map, as the program's classes do.
class Receiver : public LNotificationClient
{
public:
    Receiver() : mHandler(new LNotificationHandler<Receiver>(this)) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        mHandler->HandleNotification(sender, notification);
    }
    QZRESULT OnValue(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
    {
        ++mReceived;
        return S_OK;
    }

    RCPtr<LNotificationHandler<Receiver>> mHandler;
    std::int64_t mReceived = 0;
};

// A centre with one handler for "NID_VALUE_CHANGE", torn down at the end of a run.
struct Setup
{
    Setup()
    {
        LNotification::EnablePooling(true);
        mReceiver->mHandler->AddHandler(&Receiver::OnValue, mCenter, NID_VALUE_CHANGE, 0);
    }
    ~Setup()
    {
        mReceiver->UnsubscribeAll();
        mCenter->UnsubscribeAllClients();
        mCenter->Disconnect();
        LNotification::EnablePooling(false);
    }

    RCPtr<LNotificationCenter> mCenter{new LNotificationCenter(u"benchmark")};
    RCPtr<Receiver> mReceiver{new Receiver()};
    const char16_t* mID = GetNotificationID(NID_VALUE_CHANGE);
};

// Posts a batch, as a worker does between two idle passes, then runs one pass.
void QueuedPostAndDelivery(benchmark::State& state, bool withPayload)
{
    Setup setup;
    const auto batch = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        for (int i = 0; i < batch; ++i)
        {
            RCPtr<LNotification> notification;
            LNotification::Create(notification, setup.mID,
                                  withPayload ? RCPtr<LRefCountedObject>(LValueParam::Create(i, 0))
                                              : RCPtr<LRefCountedObject>());
            setup.mCenter->Post(notification);
        }
        setup.mCenter->ProcessQueue(false);
    }
    state.SetItemsProcessed(state.iterations() * batch);
    if (setup.mReceiver->mReceived != state.iterations() * batch)
    {
        state.SkipWithError("lost notifications");
    }
}

void BM_QueuedPostAndDelivery(benchmark::State& state)
{
    QueuedPostAndDelivery(state, false);
}
BENCHMARK(BM_QueuedPostAndDelivery)->Arg(1)->Arg(200);

void BM_QueuedPostAndDeliveryWithValuePayload(benchmark::State& state)
{
    QueuedPostAndDelivery(state, true);
}
BENCHMARK(BM_QueuedPostAndDeliveryWithValuePayload)->Arg(200);

void BM_DirectDistribution(benchmark::State& state)
{
    Setup setup;
    for (auto _ : state)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, setup.mID, LValueParam::Create(1.0, 0.0));
        setup.mCenter->Distribute(notification);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DirectDistribution);

} // namespace
} // namespace QZ
