#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

class Shared : public virtual LRefCountedObject
{
public:
    explicit Shared(std::atomic<int>* destroyed) : mDestroyed(destroyed) {}
    ~Shared() override { ++*mDestroyed; }

private:
    std::atomic<int>* mDestroyed;
};

// An object holding a reference back to itself, as a distributor's clients or a port's list do;
// dropping the last outside reference must make it let go of that one.
class SelfHolding : public virtual LRefCountedObject
{
public:
    SelfHolding(std::atomic<int>* destroyed, std::atomic<int>* dropped)
        : mDestroyed(destroyed), mDropped(dropped)
    {
        mSelf = this;
        AdjustCyclicRefCount(1);
    }
    ~SelfHolding() override { ++*mDestroyed; }

    QZRESULT ReleaseInternalReferences() override
    {
        ++*mDropped;
        AdjustCyclicRefCount(-1);
        mSelf.Reset();
        return S_OK;
    }

private:
    RCPtr<SelfHolding> mSelf;
    std::atomic<int>* mDestroyed;
    std::atomic<int>* mDropped;
};

constexpr int kThreads = 8;
constexpr int kRounds = 20000;

// Starts every thread's work at once so the counts are really changed concurrently.
template <class Work>
void RunTogether(Work work)
{
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([&go, &work, t] {
            while (!go.load())
            {
                std::this_thread::yield();
            }
            work(t);
        });
    }
    go.store(true);
    for (std::thread& thread : threads)
    {
        thread.join();
    }
}

TEST(RefCountConcurrency, CopiesOnManyThreadsKeepTheCountExact)
{
    std::atomic<int> destroyed{0};
    RCPtr<Shared> shared(new Shared(&destroyed));
    RunTogether([&shared](int) {
        for (int i = 0; i < kRounds; ++i)
        {
            RCPtr<Shared> copy(shared);
        }
    });
    EXPECT_EQ(shared->GetRefCount(), 1);
    EXPECT_EQ(destroyed.load(), 0);
    shared.Reset();
    EXPECT_EQ(destroyed.load(), 1);
}

TEST(RefCountConcurrency, LastReleasesOnManyThreadsDeleteOnce)
{
    for (int round = 0; round < 200; ++round)
    {
        std::atomic<int> destroyed{0};
        std::vector<RCPtr<Shared>> owners(kThreads);
        owners[0] = new Shared(&destroyed);
        for (int t = 1; t < kThreads; ++t)
        {
            owners[t] = owners[0];
        }
        RunTogether([&owners](int t) { owners[t].Reset(); });
        ASSERT_EQ(destroyed.load(), 1);
    }
}

TEST(RefCountConcurrency, TwoLastOutsideReleasesAtOnceDropTheBackReferenceOnceAndFree)
{
    constexpr int kTrials = 5000;
    std::atomic<int> destroyed{0};
    std::atomic<int> dropped{0};
    RCPtr<SelfHolding> owners[2];
    // Each trial: the main thread hands out two references, both threads let go together.
    std::barrier sync(3);
    auto release = [&](int t)
    {
        for (int trial = 0; trial < kTrials; ++trial)
        {
            sync.arrive_and_wait();
            owners[t].Reset();
            sync.arrive_and_wait();
        }
    };
    std::thread first(release, 0);
    std::thread second(release, 1);
    for (int trial = 0; trial < kTrials; ++trial)
    {
        owners[0] = new SelfHolding(&destroyed, &dropped);
        owners[1] = owners[0];
        sync.arrive_and_wait();
        sync.arrive_and_wait();
    }
    first.join();
    second.join();
    EXPECT_EQ(destroyed.load(), kTrials);
    EXPECT_EQ(dropped.load(), kTrials);
}

} // namespace
} // namespace QZ
