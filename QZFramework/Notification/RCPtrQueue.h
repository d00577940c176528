// A first-in-first-out ring of counted pointers with no upper limit. It starts with N slots, one
// of which always stays empty (so N - 1 items fit), and grows by one slot whenever an item arrives
// while it is full, keeping the items in order; it never shrinks.
//
// With a lock, Enqueue, Dequeue and GetCount take it, so any thread may enqueue. Each ring has one
// consumer: only the thread that processes the queue dequeues.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace QZ
{

template <class T, std::uint32_t N> class RCPtrQueue
{
public:
    explicit RCPtrQueue(Mutex* lock) : mSlots(N), mLock(lock) {}
    RCPtrQueue(const RCPtrQueue&) = delete;
    RCPtrQueue& operator=(const RCPtrQueue&) = delete;

    // Never refuses an item; returns 0. wasEmpty, when given, tells whether the ring held nothing
    // before.
    QZRESULT Enqueue(const RCPtr<T>& item, bool* wasEmpty = nullptr)
    {
        Mutex::OptionalLock guard(mLock);
        if (wasEmpty != nullptr)
        {
            *wasEmpty = CountLocked() == 0;
        }
        if (mSlots.empty())
        {
            mSlots.resize(2);
            mHead = 0;
            mTail = 0;
        }
        if (CountLocked() == mSlots.size() - 1)
        {
            // Open one empty slot at the read position; the items from there on move up.
            if (mTail > mHead)
            {
                ++mTail;
            }
            mSlots.insert(mSlots.begin() + mHead, RCPtr<T>());
            mHead = (mHead + 1) % static_cast<std::uint32_t>(mSlots.size());
        }
        mSlots[mTail] = item;
        mTail = (mTail + 1) % static_cast<std::uint32_t>(mSlots.size());
        return S_OK;
    }

    // Moves the oldest item into out. Throws the framework's runtime error when the ring is empty.
    void Dequeue(RCPtr<T>& out)
    {
        Mutex::OptionalLock guard(mLock);
        if (CountLocked() == 0)
        {
            const std::string method =
                "QZ::RCPtrQueue<" + ClassNameOf(typeid(T)) + "," + std::to_string(N) + ">::Dequeue";
            QZ_THROW_RUNTIME(method);
        }
        out = std::move(mSlots[mHead]);
        mHead = (mHead + 1) % static_cast<std::uint32_t>(mSlots.size());
    }

    // Moves the count oldest items (all there are when fewer) to the end of out, under one
    // lock.
    void DequeueInto(std::vector<RCPtr<T>>& out, std::uint32_t count)
    {
        Mutex::OptionalLock guard(mLock);
        for (std::uint32_t taken = std::min(count, CountLocked()); taken > 0; --taken)
        {
            out.push_back(std::move(mSlots[mHead]));
            mHead = (mHead + 1) % static_cast<std::uint32_t>(mSlots.size());
        }
    }

    [[nodiscard]] std::uint32_t GetCount() const
    {
        Mutex::OptionalLock guard(mLock);
        return CountLocked();
    }

    [[nodiscard]] std::uint32_t GetSlotCount() const
    {
        Mutex::OptionalLock guard(mLock);
        return static_cast<std::uint32_t>(mSlots.size());
    }

private:
    std::uint32_t CountLocked() const
    {
        return mTail >= mHead ? mTail - mHead
                              : mTail + static_cast<std::uint32_t>(mSlots.size()) - mHead;
    }

    std::vector<RCPtr<T>> mSlots;
    std::uint32_t mTail = 0;
    std::uint32_t mHead = 0;
    Mutex* mLock;
};

} // namespace QZ
