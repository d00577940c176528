// Owning pointer to a shared object, with const access. Holds exactly one counted reference while
// non-null. Copy-on-write: an owner about to modify a shared object calls Unshare first; a pointer
// taken to an object marked unshareable makes a private copy at once.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstddef>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace QZ
{

template <class T>
class ConstRCPtr
{
public:
    ConstRCPtr() noexcept = default;
    ConstRCPtr(std::nullptr_t) noexcept {}
    // The taking constructors delegate to the default one, so that when the private copy of an
    // unshareable object fails the destructor gives back the reference already taken.
    ConstRCPtr(T* object) : ConstRCPtr() { Take(object); }
    ConstRCPtr(const ConstRCPtr& other) : ConstRCPtr() { Take(other.mPtr); }
    ConstRCPtr(ConstRCPtr&& other) noexcept : mPtr(std::exchange(other.mPtr, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ConstRCPtr(const ConstRCPtr<U>& other) : ConstRCPtr()
    {
        Take(other.mPtr);
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ConstRCPtr(ConstRCPtr<U>&& other) noexcept : mPtr(std::exchange(other.mPtr, nullptr))
    {
    }
    ~ConstRCPtr() { Reset(); }

    // Takes the new object before releasing the old one, so assignment through an alias is safe.
    ConstRCPtr& operator=(const ConstRCPtr& other)
    {
        Assign(other.mPtr);
        return *this;
    }
    ConstRCPtr& operator=(ConstRCPtr&& other) noexcept
    {
        if (this != &other)
        {
            T* old = std::exchange(mPtr, std::exchange(other.mPtr, nullptr));
            ReleaseObject(old);
        }
        return *this;
    }
    ConstRCPtr& operator=(T* object)
    {
        Assign(object);
        return *this;
    }
    ConstRCPtr& operator=(std::nullptr_t)
    {
        Reset();
        return *this;
    }

    const T* Get() const noexcept { return mPtr; }
    const T* operator->() const noexcept { return mPtr; }
    const T& operator*() const noexcept { return *mPtr; }
    explicit operator bool() const noexcept { return mPtr != nullptr; }
    bool IsNull() const noexcept { return mPtr == nullptr; }

    void Reset()
    {
        ReleaseObject(std::exchange(mPtr, nullptr));
    }

    void AddRefAndUnshare()
    {
        if (mPtr == nullptr)
        {
            return;
        }
        Base(mPtr)->AddRef();
        if (!Base(mPtr)->IsShareable())
        {
            Unshare();
        }
    }

    // Replaces a shared object (two or more references) by a private copy. Keeps the object held
    // before when the copy cannot be made, then throws.
    void Unshare();

protected:
    static LRefCountedObject* Base(T* object) noexcept { return object; }
    static void ReleaseObject(T* object)
    {
        if (object != nullptr)
        {
            Base(object)->Release();
        }
    }
    void Take(T* object)
    {
        mPtr = object;
        AddRefAndUnshare();
    }
    // The new object is taken in a temporary first: if its private copy fails, this pointer
    // keeps its old object and nothing leaks.
    void Assign(T* object)
    {
        if (object == mPtr)
        {
            return;
        }
        ConstRCPtr taken(object);
        std::swap(mPtr, taken.mPtr);
    }

    T* mPtr = nullptr;

    template <class U>
    friend class ConstRCPtr;
};

template <class T, class U>
bool operator==(const ConstRCPtr<T>& a, const ConstRCPtr<U>& b) noexcept
{
    return a.Get() == b.Get();
}
template <class T>
bool operator==(const ConstRCPtr<T>& a, const T* b) noexcept
{
    return a.Get() == b;
}
template <class T>
bool operator==(const ConstRCPtr<T>& a, std::nullptr_t) noexcept
{
    return a.IsNull();
}

} // namespace QZ

#include "QZFramework/ObjectBase/RCPtr.h"
