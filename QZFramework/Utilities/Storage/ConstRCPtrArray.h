// A growable array of counted pointers that gives const access to the objects.
//
// Every non-null item holds one counted reference; removing or clearing an item releases it.
// The items are stored as RCPtr<T>, one object address (sizeof(void*) bytes) each, in a buffer
// whose capacity grows in whole blocks of A items and which keeps at most B items of unused room
// when it shrinks. RCPtrArray<T,A,B> derives from this class and gives non-const access to the
// same items.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/ItemBuffer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace QZ
{

template <class T, std::uint32_t A = 1, std::uint32_t B = 0>
class ConstRCPtrArray : public IArray<ConstRCPtr<T>>
{
    static_assert(sizeof(ConstRCPtr<T>) == sizeof(void*) && sizeof(RCPtr<T>) == sizeof(void*),
                  "an item is exactly one object address");

public:
    // count null items, with room asked for capacity items (the buffer's slack rule applies).
    explicit ConstRCPtrArray(std::int32_t count = 0, std::int32_t capacity = 0)
        : mItems(static_cast<std::uint32_t>(std::max(count, 0)),
                 static_cast<std::uint32_t>(std::max(capacity, 0)))
    {
    }
    // Takes a reference to every object of other.
    ConstRCPtrArray(const ConstRCPtrArray& other) : ConstRCPtrArray()
    {
        ConstRCPtrArray::AppendArray(other);
    }
    ConstRCPtrArray& operator=(const ConstRCPtrArray& other)
    {
        this->AssignArray(other);
        return *this;
    }
    // Releases every object, the last item first.
    ~ConstRCPtrArray() override = default;

    std::int32_t GetCount() const override { return static_cast<std::int32_t>(mItems.Count()); }

    QZRESULT SetCount(std::int32_t count) override
    {
        if (count < 0 || count > kStorableCount)
        {
            return E_INVALIDARG;
        }
        mItems.SetCount(static_cast<std::uint32_t>(count));
        return S_OK;
    }

    [[nodiscard]] QZRESULT InsertItems(std::int32_t index, std::int32_t count) override
    {
        const std::int32_t old = GetCount();
        if (index < 0 || index > old || count < 0 || count > kStorableCount - old)
        {
            return E_INVALIDARG;
        }
        mItems.Insert(static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(count));
        return S_OK;
    }

    std::int32_t RemoveItems(std::int32_t index, std::int32_t count) override
    {
        if (!HoldsItems(index, count))
        {
            ThrowOutOfRange("RemoveItem");
        }
        mItems.Erase(static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(count));
        return GetCount();
    }

    using IArray<ConstRCPtr<T>>::RemoveItem;
    void RemoveItem(std::int32_t index, ConstRCPtr<T>* removed) override
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("RemoveItem");
        }
        TakeItem(index, removed);
    }

    const ConstRCPtr<T>* GetData() const override { return Items(); }
    ConstRCPtr<T>* GetData() override { return Items(); }

    // Checked access: "Out of Range" when the index is not below the count.
    const ConstRCPtr<T>& GetAt(std::int32_t index) const
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("GetAt");
        }
        return Items()[index];
    }
    ConstRCPtr<T>& GetAt(std::int32_t index)
    {
        return const_cast<ConstRCPtr<T>&>(std::as_const(*this).GetAt(index));
    }

    // The bytes the buffer has allocated: whole blocks of A items.
    std::uint32_t GetCapacity() const { return mItems.CapacityBytes(); }

protected:
    // The most items the buffer can count, within the signed count of the interface.
    static constexpr std::int32_t kStorableCount = static_cast<std::int32_t>(
        std::min<std::uint32_t>(ItemBuffer<RCPtr<T>, A, B, 8, GetSystemAllocator>::kMaxCount,
                                IArray<ConstRCPtr<T>>::kMaxCount));

    RCPtr<T>* Items() const { return mItems.Data(); }

    bool HoldsItems(std::int32_t index, std::int32_t count) const
    {
        return index >= 0 && count >= 0 && index <= GetCount() - count;
    }

    // Moves the item at a valid index out to removed (or releases it) and closes the gap.
    template <class Ptr>
    void TakeItem(std::int32_t index, Ptr* removed)
    {
        if (removed != nullptr)
        {
            *removed = std::move(Items()[index]);
        }
        mItems.Erase(static_cast<std::uint32_t>(index), 1);
    }

private:
    [[noreturn]] static void ThrowOutOfRange(const char* operation)
    {
        const std::string method = "QZ::ConstRCPtrArray<" + ArrayItemTypeName<T>() + "," +
                                   std::to_string(A) + "," + std::to_string(B) + ">::" + operation;
        QZ_THROW_OUT_OF_RANGE(method);
    }

    ItemBuffer<RCPtr<T>, A, B, 8, GetSystemAllocator> mItems;
};

} // namespace QZ
