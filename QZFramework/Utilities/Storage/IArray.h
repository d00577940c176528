// The operations every array of the framework offers, whatever it stores.
//
// Counts and indexes are signed 32-bit; a negative index is always out of range. Operations
// that can fail on their arguments return a QZRESULT (or a count or index, negative on failure);
// an index past the items given to RemoveItem or RemoveItems throws "Out of Range". The
// operations that only combine others (insertion of one item, appending, assigning, swapping,
// positions) are implemented here once; an array supplies its storage through GetCount,
// GetData, SetCount, InsertItems, RemoveItems and RemoveItem.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/IIterable.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace QZ
{

template <class T>
class IArray : public IIterable<T>
{
public:
    static constexpr std::int32_t kMaxCount = 0x7FFFFFFF;

    virtual std::int32_t GetCount() const = 0;
    virtual std::int32_t GetMaxCount() const { return kMaxCount; }

    const T* Begin() const override { return GetData(); }
    T* Begin() override { return GetData(); }
    const T* End() const override { return GetData() + GetCount(); }
    T* End() override { return GetData() + GetCount(); }

    virtual const T& GetAtIterator(const T* position) const { return *position; }
    virtual T& GetAtIterator(T* position) { return *position; }

    // Unchecked: the index must be below GetCount().
    virtual const T* GetItemPtr(std::int32_t index) const { return GetData() + index; }
    virtual T* GetPtrAt(std::int32_t index) { return GetData() + index; }

    // The position n items away, kept between the first item and the end.
    virtual const T* Advance(const T* position, std::int32_t n) const
    {
        const T* first = Begin();
        const std::int64_t offset = std::clamp<std::int64_t>(
            static_cast<std::int64_t>(position - first) + n, 0, GetCount());
        return first + offset;
    }

    // Null when the array is empty.
    virtual const T* GetFirstPosition() const { return GetCount() == 0 ? nullptr : GetData(); }
    virtual const T* GetEndPosition() const
    {
        return GetCount() == 0 ? nullptr : GetData() + GetCount();
    }

    // Removes the items from count on, or adds default items up to count. E_INVALIDARG for a
    // negative count or one the storage cannot address; nothing changes then.
    virtual QZRESULT SetCount(std::int32_t count) = 0;

    // Opens count default items at index; the later items move up. E_INVALIDARG when index is
    // past the end or count is negative or too large.
    [[nodiscard]] virtual QZRESULT InsertItems(std::int32_t index, std::int32_t count) = 0;

    // Removes count items at index; the later items move down. Returns the new count. Throws
    // "Out of Range" and changes nothing when the items do not all exist.
    virtual std::int32_t RemoveItems(std::int32_t index, std::int32_t count) = 0;

    // E_FAIL when items remain afterwards, else S_OK.
    virtual QZRESULT RemoveAll()
    {
        SetCount(0);
        return GetCount() == 0 ? S_OK : E_FAIL;
    }

    // Stores a copy of item at index (later items move up). Returns the index, or the failure
    // of InsertItems. The copy is taken first, so item may be one of this array's own.
    virtual std::int32_t InsertAt(std::int32_t index, const T& item)
    {
        T copy(item);
        const QZRESULT opened = InsertItems(index, 1);
        if (Failed(opened))
        {
            return opened;
        }
        *GetPtrAt(index) = std::move(copy);
        return index;
    }

    // Removes the item at index and hands it to removed when that is not null. Throws
    // "Out of Range" and changes nothing when the index is not below the count.
    virtual void RemoveItem(std::int32_t index, T* removed) = 0;

    // Appends copies of other's items (other may be this array). Returns the new count, or
    // E_FAIL when the count cannot grow that far.
    virtual std::int32_t AppendArray(const IArray& other)
    {
        const std::int32_t added = other.GetCount();
        const std::int32_t count = GetCount();
        if (added > GetMaxCount() - count || Failed(SetCount(count + added)))
        {
            return E_FAIL;
        }
        for (std::int32_t i = 0; i < added; ++i)
        {
            *GetPtrAt(count + i) = *other.GetItemPtr(i);
        }
        return GetCount();
    }

    virtual std::int32_t Add(const T& item) { return InsertAt(GetCount(), item); }

    // Sets item to the one shared default item (a null pointer for the pointer arrays).
    virtual void GetStaticItem(T& item) const
    {
        static const T sItem{};
        item = sItem;
    }

    // Makes this array a copy of other; assigning an array to itself changes nothing.
    virtual std::int32_t AssignArray(const IArray& other)
    {
        if (&other == this)
        {
            return GetCount();
        }
        RemoveAll();
        return AppendArray(other);
    }

    // E_INVALIDARG and no change when either index is not below the count.
    virtual QZRESULT Swap(std::int32_t first, std::int32_t second)
    {
        const std::int32_t count = GetCount();
        if (first < 0 || first >= count || second < 0 || second >= count)
        {
            return E_INVALIDARG;
        }
        using std::swap;
        swap(*GetPtrAt(first), *GetPtrAt(second));
        return S_OK;
    }

    virtual const T* GetData() const = 0;
    virtual T* GetData() = 0;

    void RemoveItem(std::int32_t index) { RemoveItem(index, nullptr); }

protected:
    IArray() = default;
    IArray(const IArray&) = default;
    IArray& operator=(const IArray&) = default;
};

// The item type as the exception texts write it: "class X" for a class, the plain name
// ("signed char") otherwise.
template <class T>
std::string ArrayItemTypeName()
{
    std::string name = ClassNameOf(typeid(T));
    if constexpr (!std::is_class_v<T>)
    {
        name.erase(0, std::string_view("class ").size());
    }
    return name;
}

} // namespace QZ
