// A recycling pool for the memory of one class of frequently made objects (notification payloads,
// thread-pool work items). A class allocates its objects here (from its operator new) and gives
// the memory back when they are destroyed (from its operator delete); after the first burst,
// objects are made without touching the general heap.
//
// Each block is a 32-bit block number directly followed by the storage of one T, so Free finds
// the block from the address alone. A request of another size than T (a derived class that
// inherits T's operator new) gets heap memory, tagged in the same word with a number no block
// has, and goes back to the heap when freed. Blocks stay with the pool until it is destroyed; a
// freed block is the first to be reused.
//
// With a lock, Allocate and Free may be called from any thread; without one, from one thread at
// a time.
#pragma once

#include "QZFramework/System/Mutex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace QZ
{

template <class T, std::uint32_t N> class ReuseAllocator
{
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__,
                  "blocks use the default alignment");

public:
    explicit ReuseAllocator(bool withLock) : mLock(withLock ? std::make_unique<Mutex>() : nullptr)
    {
        mBlocks.reserve(N);
        mFree.reserve(N);
    }
    ReuseAllocator(const ReuseAllocator&) = delete;
    ReuseAllocator& operator=(const ReuseAllocator&) = delete;

    virtual ~ReuseAllocator()
    {
        while (!mBlocks.empty())
        {
            ::operator delete(mBlocks.back());
            mBlocks.pop_back();
        }
        mFree.clear();
    }

    // Uninitialised storage for one object of the given size.
    [[nodiscard]] void* Allocate(std::size_t size)
    {
        if (size != sizeof(T))
        {
            return AllocateForeign(size);
        }
        Mutex::OptionalLock guard(mLock.get());
        std::uint32_t number = 0;
        if (!mFree.empty())
        {
            number = mFree.back();
            mFree.pop_back();
        }
        else
        {
            number = static_cast<std::uint32_t>(mBlocks.size());
            GrowTo(mBlocks, mBlocks.size() + 1);
            GrowTo(mFree, mBlocks.size());
            auto* block = static_cast<unsigned char*>(::operator new(kOffset + sizeof(T)));
            WriteNumber(block + kOffset, number);
            mBlocks.push_back(block);
        }
        return mBlocks[number] + kOffset;
    }

    // Gives back storage that Allocate handed out.
    void Free(void* address)
    {
        if (address == nullptr)
        {
            return;
        }
        auto* storage = static_cast<unsigned char*>(address);
        const std::uint32_t number = ReadNumber(storage);
        {
            Mutex::OptionalLock guard(mLock.get());
            if (number < mBlocks.size() && mBlocks[number] + kOffset == storage)
            {
                mFree.push_back(number);
                return;
            }
        }
        std::free(storage - kOffset);
    }

    [[nodiscard]] std::size_t GetBlockCount() const
    {
        Mutex::OptionalLock guard(mLock.get());
        return mBlocks.size();
    }
    [[nodiscard]] std::size_t GetFreeCount() const
    {
        Mutex::OptionalLock guard(mLock.get());
        return mFree.size();
    }
    // The block number written in front of storage handed out by Allocate.
    [[nodiscard]] static std::uint32_t GetBlockNumber(const void* address)
    {
        return ReadNumber(static_cast<const unsigned char*>(address));
    }

private:
    // The storage starts one default alignment unit into the block (so derived classes of
    // stricter alignment are served too), the number in the word just before it.
    static constexpr std::size_t kOffset = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
    static constexpr std::uint32_t kForeignNumber = 0xFFFFFFFFu;

    static void WriteNumber(unsigned char* storage, std::uint32_t number)
    {
        std::memcpy(storage - sizeof(number), &number, sizeof(number));
    }
    static std::uint32_t ReadNumber(const unsigned char* storage)
    {
        std::uint32_t number = 0;
        std::memcpy(&number, storage - sizeof(number), sizeof(number));
        return number;
    }
    // Capacity grows in steps of N entries.
    template <class V> static void GrowTo(V& list, std::size_t count)
    {
        if (count > list.capacity())
        {
            list.reserve((count + N - 1) / N * N);
        }
    }

    static void* AllocateForeign(std::size_t size)
    {
        auto* block = static_cast<unsigned char*>(std::malloc(kOffset + size));
        if (block == nullptr)
        {
            throw std::bad_alloc();
        }
        WriteNumber(block + kOffset, kForeignNumber);
        return block + kOffset;
    }

    std::vector<unsigned char*> mBlocks;
    std::vector<std::uint32_t> mFree;
    std::unique_ptr<Mutex> mLock;
};

} // namespace QZ
