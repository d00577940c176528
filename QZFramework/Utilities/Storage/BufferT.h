// A growable byte block with a fixed slack rule.
//
// ElemSize is the allocation granule (capacities are multiples of it); Grow is the slack kept on
// shrinking: after a Resize the block stays only while its unused rest is at most
// max(Grow, ElemSize - 1) bytes, otherwise it is reallocated to exactly the rounded size. Growing
// therefore allocates what is asked with no extra room. Allocation failures throw
// Exception<std::bad_alloc>; a buffer never holds a null block with a non-zero size.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/IBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace QZ
{

template <std::uint32_t ElemSize, std::uint32_t Grow, std::uint32_t Align, class Ptr,
          IAllocator& (*Alloc)()>
class BufferT : public virtual IBuffer
{
    static_assert(ElemSize > 0, "the allocation granule must not be empty");
    static_assert(Align <= alignof(std::max_align_t), "the heap cannot give that alignment");

public:
    static constexpr std::uint32_t kSlack = std::max(Grow, ElemSize - 1);

    BufferT() = default;
    // Delegates to the default constructor so that a throwing Resize still frees the reserve.
    BufferT(std::uint32_t size, std::uint32_t reserve, bool zeroFill) : BufferT()
    {
        if (reserve > size)
        {
            mBlock = AllocateOrThrow(reserve);
            mData = mBlock;
            mCapacity = reserve;
        }
        Resize(size);
        if (zeroFill && mSize != 0)
        {
            std::memset(mData, 0, mSize);
        }
    }
    BufferT(const BufferT& other) : BufferT(other.mSize, 0, false)
    {
        if (mSize != 0)
        {
            std::memcpy(mData, other.mData, mSize);
        }
    }
    BufferT& operator=(const BufferT& other)
    {
        if (this != &other)
        {
            SetLength(other.mSize);
            if (mSize != 0)
            {
                std::memcpy(mData, other.mData, mSize);
            }
        }
        return *this;
    }
    ~BufferT() override { FreeBlock(); }

    std::uint32_t GetSize() const override { return mSize; }
    std::uint32_t GetCapacity() const override { return mCapacity; }
    void* GetData() const override { return mData; }
    Ptr GetTypedData() const { return reinterpret_cast<Ptr>(mData); }

    std::uint32_t SetLength(std::uint32_t bytes) override
    {
        if (bytes == 0)
        {
            FreeBlock();
            return mSize;
        }
        if (bytes != mCapacity)
        {
            void* block = AllocateOrThrow(bytes);
            FreeBlock();
            mBlock = block;
            mData = block;
            mCapacity = bytes;
        }
        mSize = bytes;
        return mSize;
    }

    std::uint32_t Resize(std::uint32_t bytes) override
    {
        if (mCapacity == 0)
        {
            SetLength(RoundUp(bytes));
            mSize = bytes;
            return mSize;
        }
        if (mCapacity >= bytes && mCapacity - bytes <= kSlack)
        {
            mSize = bytes;
            return mSize;
        }
        const std::uint32_t capacity = RoundUp(bytes);
        if (capacity == 0)
        {
            FreeBlock();
            return 0;
        }
        void* block = Alloc().Reallocate(mBlock, capacity);
        if (block == nullptr)
        {
            QZ_THROW_BAD_ALLOC("QZ::BufferT::Resize");
        }
        mBlock = block;
        mData = block;
        mCapacity = capacity;
        mSize = bytes;
        return mSize;
    }

    QZRESULT FillUInt8(std::uint8_t value, std::uint32_t start, std::int32_t count) override
    {
        std::uint32_t bytes = 0;
        if (!FillRange(start, count, 1, bytes))
        {
            return E_INVALIDARG;
        }
        if (bytes != 0)
        {
            std::memset(static_cast<std::uint8_t*>(mData) + start, value, bytes);
        }
        return S_OK;
    }

    QZRESULT FillUInt16(std::uint16_t value, std::uint32_t start, std::int32_t count) override
    {
        std::uint32_t bytes = 0;
        if (!FillRange(start, count, 2, bytes))
        {
            return E_INVALIDARG;
        }
        auto* unit = static_cast<std::uint8_t*>(mData) + start;
        for (std::uint32_t i = 0; i < bytes / 2; ++i)
        {
            std::memcpy(unit + 2 * i, &value, 2);
        }
        return S_OK;
    }

private:
    static std::uint32_t RoundUp(std::uint32_t bytes)
    {
        const std::uint64_t rounded =
            (static_cast<std::uint64_t>(bytes) + ElemSize - 1) / ElemSize * ElemSize;
        if (rounded > UINT32_MAX)
        {
            QZ_THROW_BAD_ALLOC("QZ::BufferT::Resize");
        }
        return static_cast<std::uint32_t>(rounded);
    }

    static void* AllocateOrThrow(std::uint32_t bytes)
    {
        void* block = Alloc().Allocate(bytes);
        if (block == nullptr)
        {
            QZ_THROW_BAD_ALLOC("QZ::BufferT::SetLength");
        }
        return block;
    }

    void FreeBlock()
    {
        if (mCapacity != 0)
        {
            Alloc().Free(mBlock);
        }
        mData = nullptr;
        mBlock = nullptr;
        mSize = 0;
        mCapacity = 0;
    }

    // The byte count of a fill of count units from start, when it lies inside the used size.
    bool FillRange(std::uint32_t start, std::int32_t count, std::uint32_t unit,
                   std::uint32_t& bytes) const
    {
        if (start > mSize)
        {
            return false;
        }
        const std::uint64_t wanted = count < 0 ? (mSize - start) / unit * unit
                                               : static_cast<std::uint64_t>(count) * unit;
        if (start + wanted > mSize)
        {
            return false;
        }
        bytes = static_cast<std::uint32_t>(wanted);
        return true;
    }

    void* mData = nullptr;
    std::uint32_t mSize = 0;
    void* mBlock = nullptr;
    std::uint32_t mCapacity = 0;
};

} // namespace QZ
