// A growable array of values of any copyable type, over std::vector.
//
// Items are stored by value and grow as the vector grows. GetData (and so Begin and End) is null
// while the array is empty.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/IArray.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace QZ
{

template <class T>
class Array : public IArray<T>
{
    static_assert(!std::is_same_v<T, bool>, "std::vector<bool> does not store items one by one");

public:
    Array() = default;
    // count default items.
    explicit Array(std::int32_t count) : mItems(static_cast<std::size_t>(std::max(count, 0))) {}
    Array(const Array&) = default;
    Array& operator=(const Array&) = default;
    ~Array() override = default;

    std::int32_t GetCount() const override { return static_cast<std::int32_t>(mItems.size()); }

    QZRESULT SetCount(std::int32_t count) override
    {
        if (count < 0)
        {
            return E_INVALIDARG;
        }
        mItems.resize(static_cast<std::size_t>(count));
        return S_OK;
    }

    [[nodiscard]] QZRESULT InsertItems(std::int32_t index, std::int32_t count) override
    {
        const std::int32_t old = GetCount();
        if (index < 0 || index > old || count < 0 || count > IArray<T>::kMaxCount - old)
        {
            return E_INVALIDARG;
        }
        mItems.insert(mItems.begin() + index, static_cast<std::size_t>(count), T{});
        return S_OK;
    }

    std::int32_t RemoveItems(std::int32_t index, std::int32_t count) override
    {
        if (!HoldsItems(index, count))
        {
            ThrowOutOfRange("RemoveItem");
        }
        mItems.erase(mItems.begin() + index, mItems.begin() + index + count);
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
            *removed = std::move(mItems[static_cast<std::size_t>(index)]);
        }
        mItems.erase(mItems.begin() + index);
    }

    const T* GetData() const override { return mItems.empty() ? nullptr : mItems.data(); }
    T* GetData() override { return mItems.empty() ? nullptr : mItems.data(); }

    // Checked access: "Out of Range" when the index is not below the count.
    const T& GetAt(std::int32_t index) const
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("GetAt");
        }
        return mItems[static_cast<std::size_t>(index)];
    }
    T& GetAt(std::int32_t index) { return const_cast<T&>(std::as_const(*this).GetAt(index)); }

private:
    bool HoldsItems(std::int32_t index, std::int32_t count) const
    {
        return index >= 0 && count >= 0 && index <= GetCount() - count;
    }

    [[noreturn]] static void ThrowOutOfRange(const char* operation)
    {
        const std::string method = "QZ::Array<" + ArrayItemTypeName<T>() + ">::" + operation;
        QZ_THROW_OUT_OF_RANGE(method);
    }

    std::vector<T> mItems;
};

} // namespace QZ
