// Static text. A label whose text does not fit offers the whole text as its tooltip.
#pragma once

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

class LLabel : public LControl
{
public:
    LLabel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // A label never takes the keyboard focus.
    QZRESULT PostInitialize() override;
    // The label's own text while it is clipped, else the "TOOLTIP" create parameter's text.
    [[nodiscard]] WideString GetToolTipText() const override;
};

} // namespace QZ
