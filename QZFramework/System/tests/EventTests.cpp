#include "QZFramework/System/Event.h"
#include "QZFramework/System/EventPool.h"
#include "QZFramework/System/LEvent.h"
#include "QZFramework/System/TrafficLight.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

// Polls until the condition holds or about five seconds have passed.
template <class Condition> bool Eventually(Condition condition)
{
    for (int i = 0; i < 5000 && !condition(); ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

TEST(TrafficLight, RedLightTimesOutAtOnce)
{
    TrafficLight light;
    EXPECT_EQ(light.Wait(0), kWaitTimeout);
    EXPECT_EQ(light.Wait(5), kWaitTimeout);
}

TEST(TrafficLight, GreenLetsEveryWaiterPassAndStaysGreen)
{
    TrafficLight light;
    std::atomic<int> passed{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
    {
        waiters.emplace_back(
            [&]
            {
                if (light.Wait(kInfinite) == kWaitSignaled)
                {
                    ++passed;
                }
            });
    }
    ASSERT_TRUE(Eventually([&] { return light.GetWaiterCount() == 3; }));
    light.SetGreen();
    for (std::thread& waiter : waiters)
    {
        waiter.join();
    }
    EXPECT_EQ(passed.load(), 3);
    EXPECT_EQ(light.GetWaiterCount(), 0);
    EXPECT_TRUE(light.IsSignaled());
    EXPECT_TRUE(light.IsSignaled());

    light.SetRed();
    EXPECT_EQ(light.Wait(0), kWaitTimeout);
}

TEST(Event, AutoResetReleasesOneWaitPerSignalAndManualResetStaysSignalledUntilReset)
{
    Event automatic(true);
    EXPECT_TRUE(automatic.Set());
    EXPECT_EQ(automatic.Wait(0), kWaitSignaled);
    EXPECT_EQ(automatic.Wait(0), kWaitTimeout);

    Event manual(false);
    manual.Set();
    EXPECT_EQ(manual.Wait(0), kWaitSignaled);
    EXPECT_EQ(manual.Wait(0), kWaitSignaled);
    EXPECT_TRUE(manual.Reset());
    EXPECT_FALSE(manual.IsSignaled());
}

TEST(Event, SetFromAnotherThreadEndsAnEndlessWait)
{
    Event event(true);
    std::thread setter(
        [&]
        {
            (void)Eventually([&] { return event.GetWaiterCount() == 1; });
            event.Set();
        });
    EXPECT_EQ(event.Wait(kInfinite), kWaitSignaled);
    setter.join();
    EXPECT_EQ(event.GetWaiterCount(), 0);
}

TEST(LEvent, IsSignaledAnswersTrueOncePerSignal)
{
    RCPtr<LEvent> event(new LEvent());
    EXPECT_FALSE(event->IsSignaled());
    event->Set();
    EXPECT_TRUE(event->IsSignaled());
    EXPECT_FALSE(event->IsSignaled());
}

// WaitForAny returns the set events lowest index first, resetting each, and times out when none
// is set.
TEST(EventPool, WaitForAnyReturnsTheSetEventsInOrderAndResetsThem)
{
    EventPool pool(4);
    EXPECT_EQ(pool.GetCount(), 4);
    EXPECT_EQ(pool.WaitForAny(0), -1);
    EXPECT_EQ(pool.WaitForAny(10), -1);
    EXPECT_EQ(pool.GetWaiterCount(), 0);

    (*pool.GetAt(2))->Set();
    EXPECT_EQ(pool.WaitForAny(100), 2);
    EXPECT_FALSE((*pool.GetAt(2))->IsSignaled());
    (*pool.GetAt(3))->Set();
    (*pool.GetAt(1))->Set();
    EXPECT_EQ(pool.WaitForAny(0), 1);
    EXPECT_EQ(pool.WaitForAny(0), 3);
    EXPECT_EQ(pool.WaitForAny(0), -1);
}

TEST(EventPool, EndlessWaitWakesWhenAnotherThreadSetsAnEvent)
{
    EventPool pool(3);
    std::thread setter(
        [&]
        {
            (void)Eventually([&] { return pool.GetWaiterCount() == 1; });
            (*pool.GetAt(1))->Set();
        });
    EXPECT_EQ(pool.WaitForAny(kInfinite), 1);
    setter.join();
}

} // namespace
} // namespace QZ
