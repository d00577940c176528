// The byte store of a received MIDI message: an ArrayBuffer that keeps up to N items inside
// itself. Most messages are short ones of one to three bytes, and they then never touch the heap;
// a store that grows past N items moves them into the buffer and is an ArrayBuffer from then on.
// Users append items, read the count and read the items back in order; every IArray operation
// behaves as the ArrayBuffer's.
#pragma once

#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/ArrayBuffer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace QZ
{

template <class T, std::uint32_t N, std::uint32_t A, std::uint32_t B, std::uint32_t C = 1,
          std::uint32_t Align = 8, IAllocator& (*Alloc)() = GetSystemAllocator>
class ArrayBufferM : public ArrayBuffer<T, A, B, C, Align, Alloc>
{
    using Base = ArrayBuffer<T, A, B, C, Align, Alloc>;
    static_assert(N > 0, "an inline store holds at least one item");

public:
    using IArray<T>::RemoveItem;

    ArrayBufferM() = default;
    ArrayBufferM(const ArrayBufferM& other) : Base() { this->AppendArray(other); }
    ArrayBufferM& operator=(const ArrayBufferM& other)
    {
        this->AssignArray(other);
        return *this;
    }
    ~ArrayBufferM() override = default;

    std::int32_t GetCount() const override
    {
        return mInlineCount != 0 ? static_cast<std::int32_t>(mInlineCount) : Base::GetCount();
    }

    QZRESULT SetCount(std::int32_t count) override
    {
        if (count >= 0 && static_cast<std::uint32_t>(count) <= N && Base::GetCount() == 0)
        {
            const auto kept = static_cast<std::uint32_t>(count);
            std::fill(mInline.begin() + std::min(mInlineCount, kept), mInline.begin() + kept, T{});
            mInlineCount = kept;
            return S_OK;
        }
        Spill();
        return Base::SetCount(count);
    }

    [[nodiscard]] QZRESULT InsertItems(std::int32_t index, std::int32_t count) override
    {
        if (Base::GetCount() == 0 && index >= 0 && count >= 0 &&
            static_cast<std::uint32_t>(index) <= mInlineCount &&
            static_cast<std::uint32_t>(count) <= N - mInlineCount)
        {
            const auto at = mInline.begin() + index;
            std::copy_backward(at, mInline.begin() + mInlineCount,
                               mInline.begin() + mInlineCount + count);
            std::fill(at, at + count, T{});
            mInlineCount += static_cast<std::uint32_t>(count);
            return S_OK;
        }
        Spill();
        return Base::InsertItems(index, count);
    }

    // Out-of-range removals are refused by the ArrayBuffer, which counts the inline items.
    std::int32_t RemoveItems(std::int32_t index, std::int32_t count) override
    {
        if (mInlineCount == 0 || !Holds(index, count))
        {
            return Base::RemoveItems(index, count);
        }
        const auto at = mInline.begin() + index;
        std::copy(at + count, mInline.begin() + mInlineCount, at);
        std::fill(mInline.begin() + mInlineCount - count, mInline.begin() + mInlineCount, T{});
        mInlineCount -= static_cast<std::uint32_t>(count);
        return GetCount();
    }

    void RemoveItem(std::int32_t index, T* removed) override
    {
        if (mInlineCount == 0 || !Holds(index, 1))
        {
            Base::RemoveItem(index, removed);
            return;
        }
        if (removed != nullptr)
        {
            *removed = mInline[static_cast<std::uint32_t>(index)];
        }
        static_cast<void>(RemoveItems(index, 1));
    }

    const T* GetData() const override
    {
        return mInlineCount != 0 ? mInline.data() : Base::GetData();
    }
    T* GetData() override { return mInlineCount != 0 ? mInline.data() : Base::GetData(); }

    // Checked access: "Out of Range" when the index is not below the count.
    const T& GetAt(std::int32_t index) const
    {
        return mInlineCount != 0 && Holds(index, 1) ? mInline[static_cast<std::uint32_t>(index)]
                                                    : Base::GetAt(index);
    }
    T& GetAt(std::int32_t index) { return const_cast<T&>(std::as_const(*this).GetAt(index)); }

private:
    bool Holds(std::int32_t index, std::int32_t count) const
    {
        return index >= 0 && count >= 0 && index <= GetCount() - count;
    }

    // Moves the inline items into the buffer, which the ArrayBuffer operations then work on.
    void Spill()
    {
        if (mInlineCount == 0)
        {
            return;
        }
        // A failed growth throws and leaves the items inline.
        static_cast<void>(Base::SetCount(static_cast<std::int32_t>(mInlineCount)));
        std::memcpy(Base::GetData(), mInline.data(), mInlineCount * sizeof(T));
        mInlineCount = 0;
    }

    std::array<T, N> mInline{};
    // Items held inline; 0 when the buffer holds them (or there are none).
    std::uint32_t mInlineCount = 0;
};

} // namespace QZ
