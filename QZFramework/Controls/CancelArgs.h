// The payload of "NID_DIALOG_CLOSING": a listener sets cancel to keep the dialog open.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LCancelArgs : public virtual LRefCountedObject
{
public:
    static RCPtr<LCancelArgs> Create() { return RCPtr<LCancelArgs>(new LCancelArgs()); }

    bool cancel = false;
};

} // namespace QZ
