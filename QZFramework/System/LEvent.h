// A shared auto-reset event, held through RCPtr by the objects that wait on it and the ones that
// signal it (a thread pool's workers and its dispatcher). Created not signalled.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/EventHandle.h"

#include <cstdint>

namespace QZ
{

class LEvent : public virtual LRefCountedObject
{
public:
    LEvent() : mHandle(true) {}

    [[nodiscard]] EventHandle* GetHandle() { return &mHandle; }
    bool Set();
    bool Reset();
    [[nodiscard]] std::uint32_t Wait(std::uint32_t timeoutMs);
    // True once per signal.
    [[nodiscard]] bool IsSignaled();
    [[nodiscard]] std::int32_t GetWaiterCount() const { return mHandle.GetWaiterCount(); }

private:
    EventHandle mHandle;
};

} // namespace QZ
