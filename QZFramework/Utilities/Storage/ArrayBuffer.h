// A growable array of plain values stored directly in a buffer.
//
// The value counterpart of the pointer arrays: item count = used bytes / sizeof(T); the capacity
// grows in whole blocks of A items and a shrink keeps at most B items of unused room. New items
// are zero (value-initialised). C is part of the type's name and changes nothing. T must be
// trivially copyable, since items move by their bytes.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/ItemBuffer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

namespace QZ
{

template <class T, std::uint32_t A, std::uint32_t B, std::uint32_t C = 1, std::uint32_t Align = 8,
          IAllocator& (*Alloc)() = GetSystemAllocator>
class ArrayBuffer : public IArray<T>
{
    static_assert(std::is_trivially_copyable_v<T>, "items move by their bytes");

public:
    // count zero items, with room asked for capacity items (the buffer's slack rule applies).
    explicit ArrayBuffer(std::int32_t count = 0, std::int32_t capacity = 0)
        : mItems(static_cast<std::uint32_t>(std::max(count, 0)),
                 static_cast<std::uint32_t>(std::max(capacity, 0)))
    {
    }
    ArrayBuffer(const ArrayBuffer& other) : ArrayBuffer() { ArrayBuffer::AppendArray(other); }
    ArrayBuffer& operator=(const ArrayBuffer& other)
    {
        this->AssignArray(other);
        return *this;
    }
    ~ArrayBuffer() override = default;

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

    using IArray<T>::RemoveItem;
    void RemoveItem(std::int32_t index, T* removed) override
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("RemoveItem");
        }
        if (removed != nullptr)
        {
            *removed = mItems.Data()[index];
        }
        mItems.Erase(static_cast<std::uint32_t>(index), 1);
    }

    const T* GetData() const override { return mItems.Data(); }
    T* GetData() override { return mItems.Data(); }

    // Checked access: "Out of Range" when the index is not below the count.
    const T& GetAt(std::int32_t index) const
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("GetAt");
        }
        return mItems.Data()[index];
    }
    T& GetAt(std::int32_t index) { return const_cast<T&>(std::as_const(*this).GetAt(index)); }

    // The bytes the buffer has allocated: whole blocks of A items.
    std::uint32_t GetCapacity() const { return mItems.CapacityBytes(); }

private:
    using Items = ItemBuffer<T, A, B, Align, Alloc>;
    static constexpr std::int32_t kStorableCount = static_cast<std::int32_t>(
        std::min<std::uint32_t>(Items::kMaxCount, IArray<T>::kMaxCount));

    bool HoldsItems(std::int32_t index, std::int32_t count) const
    {
        return index >= 0 && count >= 0 && index <= GetCount() - count;
    }

    [[noreturn]] static void ThrowOutOfRange(const char* operation)
    {
        const std::string method = "QZ::ArrayBuffer<" + ArrayItemTypeName<T>() + "," +
                                   std::to_string(A) + "," + std::to_string(B) + "," +
                                   std::to_string(C) + "," + std::to_string(Align) + ">::" +
                                   operation;
        QZ_THROW_OUT_OF_RANGE(method);
    }

    Items mItems;
};

} // namespace QZ
