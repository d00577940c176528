#include "QZFramework/System/EventGatedThreader.h"
#include "QZFramework/System/RetriggerableThreader.h"
#include "QZFramework/System/ThreadPool.h"
#include "QZFramework/System/TrafficLight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

// Work that records its tag in a shared log, optionally holding at a light first.
class RecordingWork : public LThreadWorker
{
public:
    RecordingWork(int tag, std::vector<int>& log, std::mutex& logMutex, Event& done,
                  TrafficLight* light = nullptr, int expected = 0)
        : mTag(tag), mLog(log), mLogMutex(logMutex), mDone(done), mLight(light), mExpected(expected)
    {
    }

    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        if (mLight != nullptr)
        {
            mStarted.SetGreen();
            (void)mLight->Wait(kInfinite);
        }
        std::lock_guard<std::mutex> lock(mLogMutex);
        mLog.push_back(mTag);
        if (static_cast<int>(mLog.size()) == mExpected)
        {
            mDone.Set();
        }
        return S_OK;
    }

    TrafficLight mStarted;

private:
    int mTag;
    std::vector<int>& mLog;
    std::mutex& mLogMutex;
    Event& mDone;
    TrafficLight* mLight;
    int mExpected;
};

class CountingWork : public LThreadWorker
{
public:
    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        ++mRuns;
        return S_OK;
    }
    std::atomic<int> mRuns{0};
};

class ThrowingWork : public LThreadWorker
{
public:
    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        throw std::runtime_error("worker failed");
    }
};

struct WorkLog
{
    std::vector<int> entries;
    std::mutex mutex;
    Event done{false};

    RCPtr<RecordingWork> Make(int tag, int expected, TrafficLight* light = nullptr)
    {
        return RCPtr<RecordingWork>(new RecordingWork(tag, entries, mutex, done, light, expected));
    }
    std::vector<int> Entries()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return entries;
    }
};

TEST(RetriggerableThreader, RefusesATriggerWhileBusyAndDoesNotRememberIt)
{
    RetriggerableThreader threader(u"poller");
    WorkLog log;
    TrafficLight light;
    const RCPtr<RecordingWork> first = log.Make(1, 1, &light);
    const RCPtr<LEvent> done(new LEvent());

    ASSERT_EQ(threader.TriggerWithDoneEvent(first, nullptr, done, kThreadPriorityNormal), S_OK);
    ASSERT_EQ(first->mStarted.Wait(kInfinite), kWaitSignaled);
    EXPECT_TRUE(threader.IsBusy());
    EXPECT_EQ(threader.Trigger(log.Make(2, 2), nullptr, kThreadPriorityNormal), E_FAIL);

    light.SetGreen();
    ASSERT_EQ(done->Wait(kInfinite), kWaitSignaled);
    EXPECT_FALSE(threader.IsBusy());
    EXPECT_EQ(log.Entries(), std::vector<int>{1});
}

// Throwing work is logged; the thread runs again once a run has ended, whatever it threw.
TEST(RetriggerableThreader, RunsAgainOnceTheRunHasEndedEvenAfterThrowingWork)
{
    RetriggerableThreader threader(u"poller");
    const RCPtr<LEvent> done(new LEvent());
    testing::internal::CaptureStderr();
    ASSERT_EQ(threader.TriggerWithDoneEvent(RCPtr<LThreadWorker>(new ThrowingWork()), nullptr, done,
                                            kThreadPriorityNormal),
              S_OK);
    ASSERT_EQ(done->Wait(kInfinite), kWaitSignaled);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("worker failed"), std::string::npos);

    const RCPtr<CountingWork> work(new CountingWork());
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_EQ(threader.TriggerWithDoneEvent(work, nullptr, done, kThreadPriorityNormal), S_OK);
        ASSERT_EQ(done->Wait(kInfinite), kWaitSignaled);
    }
    EXPECT_EQ(work->mRuns.load(), 3);
    EXPECT_TRUE(threader.ToString() == u"poller");
}

// Occupies the only worker of a pool until the light turns green.
RCPtr<RecordingWork> Occupy(LThreadPool& pool, WorkLog& log, TrafficLight& light, int expected)
{
    RCPtr<RecordingWork> blocker = log.Make(0, expected, &light);
    pool.QueueWork(blocker, nullptr, kThreadPriorityNormal);
    (void)blocker->mStarted.Wait(kInfinite);
    return blocker;
}

// One worker runs higher priorities first and equal priorities in the order queued.
TEST(ThreadPool, OneWorkerRunsByPriorityThenInTheOrderQueued)
{
    const struct
    {
        std::vector<int> priorities; // of the items tagged 1, 2, ...
        std::vector<int> order;      // after the blocker, tagged 0
    } cases[] = {
        {{0, 0, 0}, {0, 1, 2, 3}},
        {{0, 0, 5}, {0, 3, 1, 2}},
    };
    for (const auto& c : cases)
    {
        const RCPtr<LThreadPool> pool(new LThreadPool(1, kThreadPriorityHighest));
        WorkLog log;
        TrafficLight light;
        const int expected = static_cast<int>(c.priorities.size()) + 1;
        Occupy(*pool, log, light, expected);
        for (std::size_t i = 0; i < c.priorities.size(); ++i)
        {
            pool->QueueWork(log.Make(static_cast<int>(i) + 1, expected), nullptr, c.priorities[i]);
        }
        EXPECT_EQ(pool->GetQueuedCount(), c.priorities.size());
        light.SetGreen();
        ASSERT_EQ(log.done.Wait(kInfinite), kWaitSignaled);
        EXPECT_EQ(log.Entries(), c.order);
    }
}

TEST(ThreadPool, EveryQueuedItemRunsOnceAcrossSeveralWorkers)
{
    const RCPtr<LThreadPool> pool(new LThreadPool(3, kThreadPriorityNormal));
    WorkLog log;
    constexpr int kItems = 200;
    for (int tag = 0; tag < kItems; ++tag)
    {
        pool->QueueWork(log.Make(tag, kItems), nullptr, tag % 3);
    }
    ASSERT_EQ(log.done.Wait(kInfinite), kWaitSignaled);
    std::vector<int> entries = log.Entries();
    std::sort(entries.begin(), entries.end());
    for (int tag = 0; tag < kItems; ++tag)
    {
        EXPECT_EQ(entries[static_cast<std::size_t>(tag)], tag);
    }
}

class SlowWork : public LThreadWorker
{
public:
    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        mStarted.SetGreen();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        mFinished = true;
        return S_OK;
    }
    TrafficLight mStarted;
    std::atomic<bool> mFinished{false};
};

TEST(ThreadPool, DestructionWaitsForWorkInProgress)
{
    const RCPtr<SlowWork> work(new SlowWork());
    {
        RCPtr<LThreadPool> pool(new LThreadPool(2, kThreadPriorityNormal));
        pool->QueueWork(work, nullptr, kThreadPriorityNormal);
        ASSERT_EQ(work->mStarted.Wait(kInfinite), kWaitSignaled);
    }
    EXPECT_TRUE(work->mFinished.load());
}

TEST(ThreadPool, WorkGivenToAShutDownPoolIsDropped)
{
    const RCPtr<LThreadPool> pool(new LThreadPool(2, kThreadPriorityNormal));
    pool->Shutdown();
    EXPECT_EQ(pool->GetThreadCount(), 0);
    const RCPtr<CountingWork> work(new CountingWork());
    pool->QueueWork(work, nullptr, kThreadPriorityNormal);
    EXPECT_EQ(pool->GetQueuedCount(), 0u);
    EXPECT_EQ(work->mRuns.load(), 0);
}

// Holds the last reference to its pool and drops it from within its own run.
class PoolDroppingWork : public LThreadWorker
{
public:
    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        (void)mGo.Wait(kInfinite);
        mPool = nullptr;
        mDone.Set();
        return S_OK;
    }
    RCPtr<LThreadPool> mPool;
    TrafficLight mGo;
    Event mDone{false};
};

TEST(ThreadPool, ReleasingTheLastReferenceFromItsOwnWorkerIsSafe)
{
    const RCPtr<PoolDroppingWork> work(new PoolDroppingWork());
    {
        RCPtr<LThreadPool> pool(new LThreadPool(2, kThreadPriorityNormal));
        work->mPool = pool;
        pool->QueueWork(work, nullptr, kThreadPriorityNormal);
    }
    work->mGo.SetGreen();
    EXPECT_EQ(work->mDone.Wait(kInfinite), kWaitSignaled);
}

TEST(ThreadPool, LWorkerParamsComeFromTheRecyclingPool)
{
    ReuseAllocator<LThreadPool::LWorkerParams, 1>& allocator =
        LThreadPool::LWorkerParams::GetAllocator();
    void* first = nullptr;
    {
        RCPtr<LThreadPool::LWorkerParams> item(new LThreadPool::LWorkerParams(nullptr, nullptr, 0));
        first = item.Get();
    }
    const std::size_t blocks = allocator.GetBlockCount();
    RCPtr<LThreadPool::LWorkerParams> again(new LThreadPool::LWorkerParams(nullptr, nullptr, 1));
    EXPECT_EQ(static_cast<void*>(again.Get()), first);
    EXPECT_EQ(allocator.GetBlockCount(), blocks);
}

TEST(EventGatedThreader, RunsTheWorkerEachTimeTheEventIsSet)
{
    const RCPtr<LEvent> wake(new LEvent());
    WorkLog log;
    {
        const RCPtr<LEventGatedThreader> threader(
            new LEventGatedThreader(wake, log.Make(1, 1), nullptr, kThreadPriorityNormal));
        wake->Set();
        ASSERT_EQ(log.done.Wait(kInfinite), kWaitSignaled);
    }
    EXPECT_EQ(log.Entries(), std::vector<int>{1});
}

} // namespace
} // namespace QZ
