#include "QZFramework/Controls/FileDropper.h"

#include "QZFramework/Controls/ControlHelpers.h"

namespace QZ
{
namespace
{

constexpr std::int32_t kDragAndDrop = 1;
constexpr std::int32_t kBothAxes = 3;

} // namespace

LFileDropper::LFileDropper(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

QZRESULT LFileDropper::PostInitialize()
{
    SetNotFocusable(true);
    SetShown(true);
    return S_OK;
}

void LFileDropper::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const std::uint32_t pressed =
        conditions->GetConditions() & ~conditions->GetPreviousConditions();
    if ((pressed & kLeftPressed) != 0)
    {
        SetDragMode(kDragAndDrop, kBothAxes);
        SetOrderValue(0);
    }
}

QZRESULT LFileDropper::EndDrag()
{
    const QZRESULT result = LControl::EndDrag();
    if (const RCPtr<LControl> parent = GetParent())
    {
        parent->QueueChildDestroy(RCPtr<LControl>(this));
    }
    return result;
}

} // namespace QZ
