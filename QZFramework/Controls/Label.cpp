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

bool LLabel::IsClipped() const
{
    // The look in use: the first present one with weight, else the first present one.
    const RCPtr<LLook>* fallback = nullptr;
    for (std::uint32_t i = 0; i < GetLookCount(); ++i)
    {
        const RCPtr<LLook>& look = GetLook(i);
        if (look && GetLookWeight(i) > 0.0f)
        {
            return look->IsTextClipped();
        }
        fallback = fallback == nullptr && look ? &look : fallback;
    }
    return fallback != nullptr ? (*fallback)->IsTextClipped() : !GetText().IsEmpty();
}

WideString LLabel::GetToolTipText() const
{
    return IsClipped() ? GetText() : LControl::GetToolTipText();
}

} // namespace QZ
