// A token that the user picks up and drags freely inside the window; when the drag ends, the
// token goes: it is hidden at once and destroyed at its parent's next idle step. It exchanges
// nothing with other programs.
#pragma once

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

class LFileDropper : public LControl
{
public:
    LFileDropper(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // Never focusable, and shown.
    QZRESULT PostInitialize() override;
    // A left press lets the token follow the pointer on both axes.
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    QZRESULT EndDrag() override;
};

} // namespace QZ
