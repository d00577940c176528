// An array that keeps up to N items inside itself: no allocation ever, for small messages built
// on the stack (the universal Identity Request). Its capacity is always N; a count above N is
// taken as N, and insertions that would pass N are refused.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/IArray.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace QZ
{

template <class T, std::uint32_t N> class SimpleFixedArray : public IArray<T>
{
public:
    using IArray<T>::RemoveItem;

    SimpleFixedArray() = default;
    SimpleFixedArray(std::initializer_list<T> items)
    {
        for (const T& item : items)
        {
            if (mCount < N)
            {
                mItems[mCount++] = item;
            }
        }
    }

    std::int32_t GetCount() const override { return static_cast<std::int32_t>(mCount); }
    std::int32_t GetMaxCount() const override { return static_cast<std::int32_t>(N); }

    QZRESULT SetCount(std::int32_t count) override
    {
        if (count < 0)
        {
            return E_INVALIDARG;
        }
        const std::uint32_t kept = std::min(static_cast<std::uint32_t>(count), N);
        std::fill(mItems.begin() + std::min(mCount, kept), mItems.begin() + kept, T{});
        mCount = kept;
        return S_OK;
    }

    [[nodiscard]] QZRESULT InsertItems(std::int32_t index, std::int32_t count) override
    {
        const std::int32_t old = GetCount();
        if (index < 0 || index > old || count < 0 || count > GetMaxCount() - old)
        {
            return E_INVALIDARG;
        }
        std::move_backward(mItems.begin() + index, mItems.begin() + old,
                           mItems.begin() + old + count);
        std::fill(mItems.begin() + index, mItems.begin() + index + count, T{});
        mCount += static_cast<std::uint32_t>(count);
        return S_OK;
    }

    std::int32_t RemoveItems(std::int32_t index, std::int32_t count) override
    {
        if (!HoldsItems(index, count))
        {
            ThrowOutOfRange("RemoveItem");
        }
        std::move(mItems.begin() + index + count, mItems.begin() + mCount, mItems.begin() + index);
        mCount -= static_cast<std::uint32_t>(count);
        return GetCount();
    }

    void RemoveItem(std::int32_t index, T* removed) override
    {
        if (!HoldsItems(index, 1))
        {
            ThrowOutOfRange("RemoveItem");
        }
        if (removed != nullptr)
        {
            *removed = mItems[static_cast<std::uint32_t>(index)];
        }
        RemoveItems(index, 1);
    }

    const T* GetData() const override { return mItems.data(); }
    T* GetData() override { return mItems.data(); }

private:
    bool HoldsItems(std::int32_t index, std::int32_t count) const
    {
        return index >= 0 && count >= 0 && index <= GetCount() - count;
    }

    [[noreturn]] static void ThrowOutOfRange(const char* operation)
    {
        const std::string method = "QZ::SimpleFixedArray<" + ArrayItemTypeName<T>() + "," +
                                   std::to_string(N) + ">::" + operation;
        QZ_THROW_OUT_OF_RANGE(method);
    }

    std::uint32_t mCount = 0;
    std::array<T, N> mItems{};
};

} // namespace QZ
