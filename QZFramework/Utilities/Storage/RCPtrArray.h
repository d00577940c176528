// A growable array of counted pointers with non-const access to the objects.
//
// The same storage as ConstRCPtrArray<T,A,B>, seen through IArray<RCPtr<T>>; the array is also
// usable wherever its ConstRCPtrArray face is asked for. Both faces have operations of the same
// name: the ones taking or returning items resolve to the RCPtr<T> form when called on an
// RCPtrArray, and the positions and data pointers it returns are RCPtr<T> addresses.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/ConstRCPtrArray.h"
#include "QZFramework/Utilities/Storage/IArray.h"

#include <cstdint>
#include <string>
#include <utility>

namespace QZ
{

template <class T, std::uint32_t A = 1, std::uint32_t B = 0>
class RCPtrArray : public IArray<RCPtr<T>>, public ConstRCPtrArray<T, A, B>
{
    using Face = IArray<RCPtr<T>>;
    using Base = ConstRCPtrArray<T, A, B>;

public:
    explicit RCPtrArray(std::int32_t count = 0, std::int32_t capacity = 0) : Base(count, capacity)
    {
    }
    RCPtrArray(const RCPtrArray& other) : Base(other) {}
    RCPtrArray& operator=(const RCPtrArray& other)
    {
        Base::operator=(other);
        return *this;
    }
    ~RCPtrArray() override = default;

    std::int32_t GetCount() const override { return Base::GetCount(); }
    std::int32_t GetMaxCount() const override { return Base::GetMaxCount(); }

    const RCPtr<T>* Begin() const override { return GetData(); }
    RCPtr<T>* Begin() override { return GetData(); }
    const RCPtr<T>* End() const override { return GetData() + GetCount(); }
    RCPtr<T>* End() override { return GetData() + GetCount(); }
    const RCPtr<T>* begin() const { return Begin(); }
    RCPtr<T>* begin() { return Begin(); }
    const RCPtr<T>* end() const { return End(); }
    RCPtr<T>* end() { return End(); }

    using Base::GetAtIterator;
    using Face::GetAtIterator;

    const RCPtr<T>* GetItemPtr(std::int32_t index) const override { return GetData() + index; }
    RCPtr<T>* GetPtrAt(std::int32_t index) override { return GetData() + index; }

    using Base::Advance;
    using Face::Advance;

    const RCPtr<T>* GetFirstPosition() const override
    {
        return GetCount() == 0 ? nullptr : GetData();
    }
    const RCPtr<T>* GetEndPosition() const override
    {
        return GetCount() == 0 ? nullptr : GetData() + GetCount();
    }

    QZRESULT SetCount(std::int32_t count) override { return Base::SetCount(count); }
    [[nodiscard]] QZRESULT InsertItems(std::int32_t index, std::int32_t count) override
    {
        return Base::InsertItems(index, count);
    }

    std::int32_t RemoveItems(std::int32_t index, std::int32_t count) override
    {
        if (!this->HoldsItems(index, count))
        {
            ThrowOutOfRange("RemoveItem");
        }
        return Base::RemoveItems(index, count);
    }

    QZRESULT RemoveAll() override { return Base::RemoveAll(); }

    using Base::InsertAt;
    using Face::InsertAt;

    using Base::RemoveItem;
    void RemoveItem(std::int32_t index, RCPtr<T>* removed) override
    {
        if (!this->HoldsItems(index, 1))
        {
            ThrowOutOfRange("RemoveItem");
        }
        this->TakeItem(index, removed);
    }
    void RemoveItem(std::int32_t index) { RemoveItem(index, static_cast<RCPtr<T>*>(nullptr)); }

    using Base::AppendArray;
    using Face::AppendArray;
    std::int32_t AppendArray(const RCPtrArray& other)
    {
        return Face::AppendArray(static_cast<const Face&>(other));
    }

    using Base::Add;
    using Face::Add;

    using Base::GetStaticItem;
    using Face::GetStaticItem;

    using Base::AssignArray;
    using Face::AssignArray;
    std::int32_t AssignArray(const RCPtrArray& other)
    {
        return Face::AssignArray(static_cast<const Face&>(other));
    }

    QZRESULT Swap(std::int32_t first, std::int32_t second) override
    {
        return Base::Swap(first, second);
    }

    const RCPtr<T>* GetData() const override { return this->Items(); }
    RCPtr<T>* GetData() override { return this->Items(); }

    // Checked access: "Out of Range" when the index is not below the count.
    const RCPtr<T>& GetAt(std::int32_t index) const
    {
        if (!this->HoldsItems(index, 1))
        {
            ThrowOutOfRange("GetAt");
        }
        return this->Items()[index];
    }
    RCPtr<T>& GetAt(std::int32_t index)
    {
        return const_cast<RCPtr<T>&>(std::as_const(*this).GetAt(index));
    }

private:
    [[noreturn]] static void ThrowOutOfRange(const char* operation)
    {
        const std::string method = "QZ::RCPtrArray<" + ArrayItemTypeName<T>() + "," +
                                   std::to_string(A) + "," + std::to_string(B) + ">::" + operation;
        QZ_THROW_OUT_OF_RANGE(method);
    }
};

} // namespace QZ
