#include "QZFramework/Controls/ListBoxItem.h"

#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/DockedPartDescriptor.h"
#include "QZFramework/ControlBase/LookDescriptor.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"

#include <algorithm>
#include <cmath>

namespace QZ
{

LListBoxItem::LListBoxItem(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LListBoxItem::~LListBoxItem() = default;

QZRESULT LListBoxItem::ApplyCreateParams()
{
    const QZRESULT result = LControl::ApplyCreateParams();
    SetNotFocusable(true);
    return result;
}

LListBox* LListBoxItem::GetList() const
{
    return dynamic_cast<LListBox*>(GetParent().Get());
}

void LListBoxItem::SetSeparatorMode(bool on)
{
    mSeparator = on;
    if (on)
    {
        SetText(WideString(), false);
    }
    UpdateLook();
}

std::int32_t LListBoxItem::GetSeparatorHeight() const
{
    const ConstRCPtr<LControlDescriptor>& descriptor = GetDescriptor();
    const RCPtr<LLookDescriptor> look = descriptor ? descriptor->GetLook(kLookSeparator) : nullptr;
    double above = 0.0;
    double below = 0.0;
    for (std::size_t i = 0; look && i < look->parts.size(); ++i)
    {
        const RCPtr<LDockedPartDescriptor>& part = look->parts[i];
        if (part && part->dock == LDockedPartDescriptor::kTop)
        {
            above = std::max(above, part->size);
        }
        else if (part && part->dock == LDockedPartDescriptor::kBottom)
        {
            below = std::max(below, part->size);
        }
    }
    const auto height = static_cast<std::int32_t>(std::lround(above + below));
    return above > 0.0 && below > 0.0 ? height + 1 : static_cast<std::int32_t>(GetSize().y);
}

void LListBoxItem::SetSelected(bool selected)
{
    mSelected = selected;
}

QZRESULT LListBoxItem::SelectLook(std::uint32_t index, bool exclusive)
{
    if (GetLookCount() == 0)
    {
        return E_FAIL;
    }
    return SetLookWeight(GetLook(index) ? index : kLookNormal, 1.0f, exclusive);
}

void LListBoxItem::UpdateLook()
{
    std::uint32_t look = kLookNormal;
    if (mSeparator)
    {
        look = kLookSeparator;
    }
    else if (!IsEnabled(true))
    {
        look = kLookDisabled;
    }
    else if (mSelected)
    {
        look = kLookSelected;
    }
    else if ((GetConditionFlags() & kHover) != 0)
    {
        look = kLookHover;
    }
    SelectLook(look, true);
}

void LListBoxItem::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const RCPtr<LControl> self(this);
    UpdateLook();
    LControl::OnConditionsChanged(conditions);
    if (LListBox* list = GetList(); list != nullptr && conditions)
    {
        list->OnRowConditionsChanged(*this, *conditions);
    }
}

void LListBoxItem::OnLeftClick(const RCPtr<LMouseButtonParam>& click)
{
    const RCPtr<LControl> self(this);
    LControl::OnLeftClick(click);
    if (LListBox* list = GetList())
    {
        list->OnRowClicked(*this);
    }
}

void LListBoxItem::OnMouseMove(const RCPtr<LPointWithModifiersParam>& move)
{
    LControl::OnMouseMove(move);
    LListBox* list = GetList();
    if (list != nullptr && move && (GetConditionFlags() & kLeftDrag) != 0)
    {
        list->OnRowDragMove(*this, PointT<double>(move->GetX(), move->GetY()));
    }
}

} // namespace QZ
