#include "QZFramework/Controls/ComboSlider.h"

#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cstdio>

namespace QZ
{
namespace
{

enum Look : std::uint32_t
{
    kLookNormal = 0,
    kLookHover = 2,
    kLookOpen = 4,
    kLookDisabled = 6
};

} // namespace

LComboSlider::LComboSlider(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LDropDownControl(parent, name, mostDerived)
{
}

LComboSlider::~LComboSlider() = default;

void LComboSlider::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LDropDownControl::ReceiveNotification(sender, notification);
}

QZRESULT LComboSlider::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                   const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LDropDownControl::Unsubscribe(distributor, identifier);
}

QZRESULT LComboSlider::Initialize()
{
    if (Failed(LDropDownControl::Initialize()))
    {
        return E_FAIL;
    }
    const RCPtr<LControl> panel = FindChildByName(WideString(u"dropDownPanel"));
    if (!RCPtr<LPanel>::DynamicCastFrom(panel))
    {
        return S_OK;
    }
    SetDropDown(panel);
    panel->SetShown(false);
    mHandler = new LNotificationHandler<LComboSlider>(this);
    mSlider = panel->FindChildByName(WideString(u"slider"));
    if (mSlider)
    {
        mHandler->AddHandler(&LComboSlider::OnSliderValueChange,
                             RCPtr<LNotificationDistributor>(mSlider), NID_VALUE_CHANGE, 0);
    }
    return S_OK;
}

QZRESULT LComboSlider::OnSliderValueChange(const RCPtr<LNotificationDistributor>&,
                                           const RCPtr<LNotification>&)
{
    const RCPtr<LControl> self(this);
    LDropDownControl::SetValue(mSlider->GetValue());
    return S_FALSE;
}

double LComboSlider::SetValue(double position)
{
    const RCPtr<LControl> self(this);
    if (mSlider)
    {
        mSlider->SetValue(position);
    }
    return LDropDownControl::SetValue(position);
}

void LComboSlider::OnValueChanged()
{
    LDropDownControl::OnValueChanged();
    if (mSlider)
    {
        mSlider->SetValue(GetValue());
    }
    char text[64];
    std::snprintf(text, sizeof(text), "%0.0f", PositionToValue(GetValue()));
    SetText(WideString(text), true);
}

// ---- the drop-down panel ----

bool LComboSlider::IsDroppedDown() const
{
    const RCPtr<LControl>& panel = GetDropDown();
    return panel && panel->IsShowing(false);
}

QZRESULT LComboSlider::ShowDropDown(bool show)
{
    const RCPtr<LControl> panel = GetDropDown();
    if (!panel)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> self(this);
    if (show && panel->GetLayout() && panel->GetDescriptor() && panel->GetDescriptor()->layout)
    {
        RCPtr<LControl> root;
        GetRootControl(root);
        const double width = panel->GetSize().x;
        double x = panel->GetDescriptor()->layout->position[0].absolute;
        PointT<double> inRoot{x, 0.0};
        root->MapPointFrom(*this, inRoot);
        if (inRoot.x + width > root->GetSize().x)
        {
            PointT<double> moved{std::max(root->GetSize().x - width, 0.0), 0.0};
            MapPointFrom(*root, moved);
            x = moved.x;
        }
        LLayoutDescriptor::PositionSpec position;
        LLayoutDescriptor::SizeSpec size;
        panel->GetLayout()->GetAxisSpec(0, position, size);
        if (position.absolute != x)
        {
            position.absolute = x;
            panel->SetAxisLayout(0, position, size);
        }
    }
    panel->SetShown(show);
    return S_OK;
}

void LComboSlider::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    LDropDownControl::OnConditionsChanged(conditions);
    const std::uint32_t current = GetConditionFlags();
    const std::uint32_t hovered = (current & kHover) != 0 ? 1 : 0;
    const std::uint32_t focused = (current & (kHasFocus | kContainsFocus)) != 0 ? 1 : 0;
    std::uint32_t look = kLookNormal + focused;
    if (!IsEnabled(true))
    {
        look = kLookDisabled;
    }
    else if (IsDroppedDown())
    {
        look = kLookOpen + hovered;
    }
    else if (hovered != 0)
    {
        look = kLookHover + focused;
    }
    SetLookWeight(look, 1.0f, true);
}

} // namespace QZ
