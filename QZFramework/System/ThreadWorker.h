// One piece of background work, run by a RetriggerableThreader, an LEventGatedThreader or a
// thread pool on a thread of theirs. DoWork reports its results itself (as notifications, for
// instance); the runners do not look at the returned value.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LThreadWorker : public virtual LRefCountedObject
{
public:
    // params may be null.
    virtual QZRESULT DoWork(const RCPtr<LRefCountedObject>& params) = 0;
};

} // namespace QZ
