#include "QZFramework/ObjectBase/RefCountedObject.h"

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <typeinfo>

namespace QZ
{

StringT<char16_t, char> LRefCountedObject::ToString() const
{
    return StringT<char16_t, char>(ClassNameOf(typeid(*this)).c_str());
}

void LRefCountedObject::Undo()
{
    QZ_THROW_LOGIC("QZ::LRefCountedObject::Undo", "Undo() not implemented for RefCountedObject");
}

std::int32_t LRefCountedObject::AddRef()
{
    return mRefCount.fetch_add(1) + 1;
}

std::int32_t LRefCountedObject::Release()
{
    // The decision and the decrement are one compare-and-swap: of two holders letting go at once,
    // exactly one sees its reference as the last outside one and drops the back-references.
    std::int32_t count = mRefCount.load();
    for (;;)
    {
        const std::int32_t internal = mInternalRefCount.load();
        if (internal > 0 && count == internal + 1)
        {
            ReleaseBackReferences();
            break;
        }
        if (mRefCount.compare_exchange_weak(count, count - 1))
        {
            return FinishRelease(count - 1);
        }
    }
    // The caller's reference stayed counted while the back-references were dropped, so the
    // members' own releases cannot delete the object under it.
    return FinishRelease(mRefCount.fetch_sub(1) - 1);
}

void LRefCountedObject::ReleaseBackReferences()
{
    // The guard keeps releases caused by dropping the back-references from re-entering.
    std::int32_t idle = 0;
    if (!mReleaseGuard.compare_exchange_strong(idle, 1))
    {
        return;
    }
    struct GuardReset
    {
        std::atomic<std::int32_t>& guard;
        ~GuardReset() { guard.store(0); }
    } reset{mReleaseGuard};
    ReleaseInternalReferences();
}

std::int32_t LRefCountedObject::FinishRelease(std::int32_t remaining)
{
    if (remaining == 0)
    {
        delete this;
    }
    return remaining;
}

QZRESULT LRefCountedObject::ReleaseInternalReferences()
{
    return (mInternalRefCount.load() == 0 && mRefCount.load() == 1) ? S_OK : E_FAIL;
}

RCPtr<LRefCountedObject> LRefCountedObject::CreateCopy() const
{
    QZ_THROW_LOGIC("QZ::LRefCountedObject::CreateCopy",
                   "CreateCopy() not implemented for RefCountedObject");
}

void LRefCountedObject::SetUnshareable(bool unshareable)
{
    if (unshareable && mRefCount.load() > 1)
    {
        QZ_THROW_RUNTIME("QZ::LRefCountedObject::SetUnshareable");
    }
    mShareable.store(!unshareable);
}

void LRefCountedObject::AdjustCyclicRefCount(std::int32_t delta)
{
    mInternalRefCount.fetch_add(delta);
}

} // namespace QZ
