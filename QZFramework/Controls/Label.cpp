#include "QZFramework/Controls/Label.h"

#include "QZFramework/ControlBase/Look.h"

namespace QZ
{

LLabel::LLabel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

QZRESULT LLabel::PostInitialize()
{
    SetNotFocusable(true);
    return S_OK;
}

WideString LLabel::GetToolTipText() const
{
    return IsTextClipped() ? GetText() : LControl::GetToolTipText();
}

} // namespace QZ
