// Owning pointer to a shared object with non-const access; converts to ConstRCPtr<T>.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"

namespace QZ
{

template <class T>
class RCPtr : public ConstRCPtr<T>
{
public:
    // Not built from a ConstRCPtr: that would give write access to an object shared as const.
    RCPtr() noexcept = default;
    RCPtr(std::nullptr_t) noexcept {}
    RCPtr(T* object) : ConstRCPtr<T>(object) {}
    RCPtr(const RCPtr&) = default;
    RCPtr(RCPtr&&) noexcept = default;
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RCPtr(const RCPtr<U>& other) : ConstRCPtr<T>(static_cast<const ConstRCPtr<U>&>(other))
    {
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RCPtr(RCPtr<U>&& other) noexcept : ConstRCPtr<T>(static_cast<ConstRCPtr<U>&&>(other))
    {
    }
    RCPtr& operator=(const RCPtr&) = default;
    RCPtr& operator=(RCPtr&&) noexcept = default;
    RCPtr& operator=(T* object)
    {
        ConstRCPtr<T>::operator=(object);
        return *this;
    }
    RCPtr& operator=(std::nullptr_t)
    {
        this->Reset();
        return *this;
    }

    // A pointer to the same object seen as a T, or null when it is not a T.
    template <class U>
    static RCPtr DynamicCastFrom(const ConstRCPtr<U>& other)
    {
        return RCPtr(dynamic_cast<T*>(const_cast<U*>(other.Get())));
    }

    T* Get() const noexcept { return this->mPtr; }
    T* operator->() const noexcept { return this->mPtr; }
    T& operator*() const noexcept { return *this->mPtr; }
};

template <class T>
void ConstRCPtr<T>::Unshare()
{
    if (mPtr == nullptr || Base(mPtr)->GetRefCount() < 2)
    {
        return;
    }
    RCPtr<LRefCountedObject> copy = Base(mPtr)->CreateCopy();
    T* converted = dynamic_cast<T*>(copy.Get());
    if (converted == nullptr)
    {
        const std::string name = ClassNameOf(typeid(T));
        const std::string method = "QZ::ConstRCPtr<" + name + ">::Unshare";
        QZ_THROW_LOGIC(method, name);
    }
    T* old = std::exchange(mPtr, converted);
    Base(mPtr)->AddRef();
    ReleaseObject(old);
}

} // namespace QZ
