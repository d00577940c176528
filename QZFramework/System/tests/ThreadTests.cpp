#include "QZFramework/System/Event.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/System/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

namespace QZ
{
namespace
{

struct Gate
{
    Event open{false};
    Event entered{false};
    std::atomic<bool> ran{false};
};

std::uint32_t WaitAtGate(void* context)
{
    auto* gate = static_cast<Gate*>(context);
    gate->ran = true;
    gate->entered.Set();
    (void)gate->open.Wait(kInfinite);
    return 0;
}

TEST(Thread, RunsOnlyOnceResumedAndWaitTellsARunningThreadFromAnEndedOne)
{
    Gate gate;
    Thread thread(&WaitAtGate, &gate);
    EXPECT_EQ(gate.entered.Wait(20), kWaitTimeout);
    EXPECT_FALSE(gate.ran.load());
    EXPECT_FALSE(thread.HasFinished());

    EXPECT_TRUE(thread.Resume());
    EXPECT_FALSE(thread.Resume());
    ASSERT_EQ(gate.entered.Wait(kInfinite), kWaitSignaled);
    EXPECT_FALSE(thread.Wait(0));
    EXPECT_FALSE(thread.HasFinished());

    gate.open.Set();
    EXPECT_TRUE(thread.Wait(kInfinite));
    EXPECT_TRUE(thread.Wait(0));
    EXPECT_TRUE(thread.HasFinished());
}

TEST(Thread, NeverResumedThreadEndsWithoutRunning)
{
    Gate gate;
    {
        Thread thread(&WaitAtGate, &gate);
        EXPECT_NE(thread.GetId(), 0);
    }
    EXPECT_FALSE(gate.ran.load());
}

TEST(Thread, PrioritiesAreBestEffortButMustBeThreadPriorities)
{
    Gate gate;
    Thread thread(&WaitAtGate, &gate);
    EXPECT_TRUE(thread.SetPriority(kThreadPriorityHighest));
    EXPECT_EQ(thread.GetPriority(), kThreadPriorityHighest);
    EXPECT_TRUE(thread.SetPriority(kThreadPriorityLowest));
    EXPECT_FALSE(thread.SetPriority(7));
    EXPECT_EQ(thread.GetPriority(), kThreadPriorityLowest);
    EXPECT_TRUE(thread.SetPriorityBoost(false));
    EXPECT_FALSE(thread.IsPriorityBoostEnabled());
    thread.Resume();
    gate.open.Set();
}

struct SelfOwned
{
    std::unique_ptr<Thread> thread;
    Event done{false};
};

std::uint32_t DestroyOwnThread(void* context)
{
    auto* owner = static_cast<SelfOwned*>(context);
    const bool own = owner->thread->IsCurrentThread();
    owner->thread.reset();
    if (own)
    {
        owner->done.Set();
    }
    return 0;
}

TEST(Thread, DestroyedOnItsOwnThreadRunsToItsEnd)
{
    static SelfOwned owner;
    owner.thread = std::make_unique<Thread>(&DestroyOwnThread, &owner);
    owner.thread->Resume();
    EXPECT_EQ(owner.done.Wait(kInfinite), kWaitSignaled);
}

TEST(Mutex, OwningThreadMayLockAgainAndAScopedLockIsReleasedWhenAnExceptionPasses)
{
    Mutex mutex;
    try
    {
        Mutex::ScopedLock outer(mutex);
        Mutex::ScopedLock inner(mutex);
        mutex.Lock();
        mutex.Unlock();
        throw std::runtime_error("passing");
    }
    catch (const std::runtime_error&)
    {
    }
    bool locked = false;
    std::thread other(
        [&]
        {
            Mutex::ScopedLock lock(mutex);
            locked = true;
        });
    other.join();
    EXPECT_TRUE(locked);
}

} // namespace
} // namespace QZ
