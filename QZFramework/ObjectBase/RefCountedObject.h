// The base of every shared object.
//
// An object carries an atomic reference count, raised by the first RCPtr that takes it, and an
// internal-reference count: the references to it that its own members hold back (a distributor's
// clients point back at it, a control's children at their parent). When the last reference from
// outside goes away, Release first asks the object to drop those back-references
// (ReleaseInternalReferences) so the cycle cannot keep it alive. An object marked unshareable
// (a string buffer being written through a raw pointer) makes every new pointer to it take a
// private copy through CreateCopy.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"

#include <atomic>
#include <cstdint>

namespace QZ
{

template <class CharT, class OtherT>
class StringT;
template <class T>
class RCPtr;

class IStringable
{
public:
    virtual ~IStringable() = default;
    virtual StringT<char16_t, char> ToString() const = 0;
};

class IUndoable : public IStringable
{
public:
    virtual void Undo() = 0;
};

class LRefCountedObject : public IUndoable
{
public:
    LRefCountedObject() = default;
    // A copy is a new object: it starts with no references and shareable.
    LRefCountedObject(const LRefCountedObject&) : IUndoable() {}
    LRefCountedObject& operator=(const LRefCountedObject&) { return *this; }
    ~LRefCountedObject() override = default;

    // Default: the run-time class name of the most-derived type.
    StringT<char16_t, char> ToString() const override;
    void Undo() override;

    virtual std::int32_t AddRef();
    // Drops one reference; deletes the object when none is left. Returns the new count.
    virtual std::int32_t Release();
    // Drops the members that refer back to this object. Returns 0 when there is nothing to
    // drop, E_FAIL otherwise; classes that hold back-references override it.
    virtual QZRESULT ReleaseInternalReferences();
    // A new object equal to this one, for copy-on-write. Classes that can be copied override it.
    virtual RCPtr<LRefCountedObject> CreateCopy() const;

    // Only an object with at most one reference can be marked unshareable.
    void SetUnshareable(bool unshareable);
    void AdjustCyclicRefCount(std::int32_t delta);

    std::int32_t GetRefCount() const { return mRefCount.load(); }
    std::int32_t GetInternalRefCount() const { return mInternalRefCount.load(); }
    bool IsShareable() const { return mShareable.load(); }

private:
    void ReleaseBackReferences();
    std::int32_t FinishRelease(std::int32_t remaining);

    std::atomic<std::int32_t> mRefCount{0};
    std::atomic<std::int32_t> mInternalRefCount{0};
    std::atomic<std::int32_t> mReleaseGuard{0};
    std::atomic<bool> mShareable{true};
};

} // namespace QZ
