#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <gtest/gtest.h>

#include <atomic>
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

} // namespace
} // namespace QZ
