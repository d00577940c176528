// Concurrency test, worth running under ThreadSanitizer: several threads queue work to one pool.
#include "QZFramework/System/Event.h"
#include "QZFramework/System/ThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

class CountingWork : public LThreadWorker
{
public:
    CountingWork(std::atomic<int>& count, int total, Event& done)
        : mCount(count), mTotal(total), mDone(done)
    {
    }
    QZRESULT DoWork(const RCPtr<LRefCountedObject>&) override
    {
        if (++mCount == mTotal)
        {
            mDone.Set();
        }
        return S_OK;
    }

private:
    std::atomic<int>& mCount;
    int mTotal;
    Event& mDone;
};

TEST(ThreadPoolConcurrency, WorkQueuedFromSeveralThreadsRunsOnce)
{
    constexpr int kThreads = 3;
    constexpr int kItemsEach = 2000;
    std::atomic<int> count{0};
    Event done(false);
    {
        const RCPtr<LThreadPool> pool(new LThreadPool(2, kThreadPriorityNormal));
        const RCPtr<LThreadWorker> work(new CountingWork(count, kThreads * kItemsEach, done));
        std::vector<std::thread> queueing;
        for (int t = 0; t < kThreads; ++t)
        {
            queueing.emplace_back(
                [&, t]
                {
                    for (int i = 0; i < kItemsEach; ++i)
                    {
                        pool->QueueWork(work, nullptr, (i + t) % 3 - 1);
                    }
                });
        }
        for (std::thread& thread : queueing)
        {
            thread.join();
        }
        ASSERT_EQ(done.Wait(kInfinite), kWaitSignaled);
    }
    EXPECT_EQ(count.load(), kThreads * kItemsEach);
}

} // namespace
} // namespace QZ
