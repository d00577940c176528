// An object that can carry one tag: any shared object its users attach to it (list and combo
// boxes keep their items' data there). Null by default.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LTaggableObject : public virtual LRefCountedObject
{
public:
    [[nodiscard]] const RCPtr<LRefCountedObject>& GetTag() const { return mTag; }
    void SetTag(const RCPtr<LRefCountedObject>& tag) { mTag = tag; }

private:
    RCPtr<LRefCountedObject> mTag;
};

} // namespace QZ
