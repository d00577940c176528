// Items kept one after another in a BufferT, for the arrays built on buffers.
//
// The items are moved by copying their bytes (the buffer reallocates that way too), so Item must
// be trivially relocatable: a plain value, or a counted pointer, whose one field is an address.
// Items are created in place as Item{}; an item with a destructor is set back to Item{} before
// it leaves the storage, which releases what a pointer held and leaves bytes that need no
// destructor. Growth beyond the
// capacity goes through the buffer's slack rule and throws Exception<std::bad_alloc> when the
// allocator fails; the items are unchanged then.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/BufferT.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace QZ
{

template <class Item, std::uint32_t A, std::uint32_t B, std::uint32_t Align, IAllocator& (*Alloc)()>
class ItemBuffer
{
    static_assert(A > 0, "an array grows by at least one item");

public:
    using Buffer = BufferT<static_cast<std::uint32_t>(A * sizeof(Item)),
                           static_cast<std::uint32_t>(B * sizeof(Item)), Align, Item*, Alloc>;

    // The most items whose bytes the buffer's 32-bit size can count.
    static constexpr std::uint32_t kMaxCount = UINT32_MAX / sizeof(Item);

    ItemBuffer(std::uint32_t count, std::uint32_t capacity)
        : mBuffer(Bytes(count), Bytes(capacity), false)
    {
        CreateItems(0, count);
    }
    ItemBuffer(const ItemBuffer&) = delete;
    ItemBuffer& operator=(const ItemBuffer&) = delete;
    ~ItemBuffer() { ClearItems(0, Count()); }

    std::uint32_t Count() const { return mBuffer.GetSize() / sizeof(Item); }
    std::uint32_t CapacityBytes() const { return mBuffer.GetCapacity(); }
    Item* Data() const { return mBuffer.GetTypedData(); }

    // Grows with Item{} or clears and drops the items from count on, the last first.
    void SetCount(std::uint32_t count)
    {
        const std::uint32_t old = Count();
        if (count > old)
        {
            mBuffer.Resize(Bytes(count));
            CreateItems(old, count - old);
        }
        else if (count < old)
        {
            ClearItems(count, old - count);
            mBuffer.Resize(Bytes(count));
        }
    }

    // Opens count Item{} at index (at most Count()).
    void Insert(std::uint32_t index, std::uint32_t count)
    {
        const std::uint32_t old = Count();
        mBuffer.Resize(Bytes(old + count));
        MoveItems(index + count, index, old - index);
        CreateItems(index, count);
    }

    // Clears the count items at index (all inside the items) and closes the gap.
    void Erase(std::uint32_t index, std::uint32_t count)
    {
        const std::uint32_t old = Count();
        ClearItems(index, count);
        MoveItems(index, index + count, old - index - count);
        // The tail now holds byte copies of moved items; they become Item{} without being
        // destroyed, so nothing is released twice even if the shrink below throws.
        CreateItems(old - count, count);
        mBuffer.Resize(Bytes(old - count));
    }

private:
    static std::uint32_t Bytes(std::uint32_t count)
    {
        if (count > kMaxCount)
        {
            QZ_THROW_BAD_ALLOC("QZ::ItemBuffer::Bytes", "Too many items");
        }
        return static_cast<std::uint32_t>(count * sizeof(Item));
    }

    void CreateItems(std::uint32_t index, std::uint32_t count)
    {
        for (std::uint32_t i = index; i < index + count; ++i)
        {
            new (Data() + i) Item{};
        }
    }

    // Sets items back to Item{}, the last first, so a pointer array releases in reverse order.
    void ClearItems(std::uint32_t index, std::uint32_t count)
    {
        if constexpr (!std::is_trivially_destructible_v<Item>)
        {
            for (std::uint32_t i = index + count; i > index; --i)
            {
                Data()[i - 1] = Item{};
            }
        }
    }

    void MoveItems(std::uint32_t to, std::uint32_t from, std::uint32_t count)
    {
        if (count != 0)
        {
            std::memmove(static_cast<void*>(Data() + to), static_cast<const void*>(Data() + from),
                         count * sizeof(Item));
        }
    }

    Buffer mBuffer;
};

} // namespace QZ
