#include "QZFramework/Controls/ComboMenu.h"

#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/ControlHelpers.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>

namespace QZ
{

LComboMenu::LComboMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LDropDownControl(parent, name, mostDerived)
{
}

LComboMenu::~LComboMenu() = default;

void LComboMenu::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LDropDownControl::ReceiveNotification(sender, notification);
}

QZRESULT LComboMenu::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                 const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LDropDownControl::Unsubscribe(distributor, identifier);
}

QZRESULT LComboMenu::ReleaseInternalReferences()
{
    mPopup = nullptr;
    return LDropDownControl::ReleaseInternalReferences();
}

QZRESULT LComboMenu::Initialize()
{
    if (Failed(LDropDownControl::Initialize()))
    {
        return E_FAIL;
    }
    mPopup = RCPtr<LPopupMenu>::DynamicCastFrom(FindChildByName(WideString(u"popupMenu")));
    if (!mPopup)
    {
        return E_FAIL;
    }
    SetDropDown(RCPtr<LControl>(mPopup));
    mHandler = new LNotificationHandler<LComboMenu>(this);
    const RCPtr<LNotificationDistributor> popup(mPopup);
    mHandler->AddHandler(&LComboMenu::OnPopupVisibilityChanged, popup,
                         NID_VISIBLITY_CONDITION_CHANGE, 0);
    mHandler->AddHandler(&LComboMenu::OnItemActivated, popup, NID_ITEM_ACTIVATED, 0);
    mPopup->SetAutoClose(false);
    return S_OK;
}

QZRESULT LComboMenu::PostInitialize()
{
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (mPopup && mPopup->GetLayout() &&
        Succeeded(mPopup->GetLayout()->GetAxisSpec(0, position, size)))
    {
        mPopupOffsetX = position.absolute;
    }
    return LDropDownControl::PostInitialize();
}

bool LComboMenu::IsDroppedDown() const
{
    return mPopup && mPopup->IsShowing(false);
}

void LComboMenu::SelectClosedLook()
{
    ShowStateLook(*this,
                  GetLook(kLookHover) && (GetConditionFlags() & kPointerOver) != 0 ? kLookHover
                                                                                   : kLookNormal,
                  kLookFocus);
}

void LComboMenu::SelectStateLook()
{
    if (!IsEnabled(true))
    {
        ShowStateLook(*this, GetLook(kLookDisabled) ? kLookDisabled : kLookNormal, kLookFocus);
    }
    else if (IsDroppedDown())
    {
        ShowStateLook(*this, GetLook(kLookOpen) ? kLookOpen : kLookNormal, kLookFocus);
    }
    else
    {
        SelectClosedLook();
    }
}

QZRESULT LComboMenu::ShowDropDown(bool show)
{
    if (!mPopup)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> self(this);
    // Shown first: the owner's answers to the item questions may change the popup's width.
    mPopup->SetShown(show);
    if (!show)
    {
        SelectClosedLook();
        return S_OK;
    }
    RCPtr<LControl> root;
    GetRootControl(root);
    if (root)
    {
        // Inside the root control: shifted left as far as needed, never past its left edge.
        PointT<double> point(mPopupOffsetX, 0.0);
        root->MapPointFrom(*this, point);
        const double width = mPopup->GetSize().x;
        double x = mPopupOffsetX;
        if (point.x + width > root->GetSize().x)
        {
            PointT<double> fitted(std::max(0.0, root->GetSize().x - width), 0.0);
            MapPointFrom(*root, fitted);
            x = fitted.x;
        }
        LLayoutDescriptor::PositionSpec position;
        LLayoutDescriptor::SizeSpec size;
        if (mPopup->GetLayout() && Succeeded(mPopup->GetLayout()->GetAxisSpec(0, position, size)) &&
            position.absolute != x)
        {
            position.absolute = x;
            mPopup->SetAxisLayout(0, position, size);
        }
    }
    mPopup->SetFocus(true);
    SelectStateLook();
    if ((GetConditionFlags() & kLeftPressed) != 0)
    {
        // The held button goes on as a press in the popup, so a drag can choose an item; the
        // title lets its own press go, or it would never see the next one begin.
        ReleaseCapture();
        mPopup->OnMouseButtonDown(1, static_cast<std::int32_t>(mPressOffset.x),
                                  static_cast<std::int32_t>(mPressOffset.y));
    }
    return S_OK;
}

void LComboMenu::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const RCPtr<LControl> self(this);
    if (!conditions)
    {
        LDropDownControl::OnConditionsChanged(conditions);
        return;
    }
    const std::uint32_t now = conditions->GetConditions();
    const std::uint32_t previous = conditions->GetPreviousConditions();
    SelectStateLook();
    const RCPtr<LControl> parent = GetParent();
    if (IsEnabled(true) && parent && ((now ^ previous) & now & kPointerOver) != 0)
    {
        // The bar's open menu moves to the title under the pointer.
        const ChildControlList& siblings = parent->GetChildren();
        for (std::uint32_t i = siblings.GetCount(); i-- > 0;)
        {
            auto* open = dynamic_cast<LComboMenu*>(siblings.GetAt(i, kStorageOrder).Get());
            if (open != nullptr && open->IsDroppedDown())
            {
                if (open != this)
                {
                    const RCPtr<LControl> keep(open);
                    open->mPopup->SetShown(false);
                    open->SelectClosedLook();
                    ShowDropDown(true);
                }
                break;
            }
        }
    }
    if ((now & ~previous & kLeftPressed) != 0 && mPopup)
    {
        RCPtr<LRootWindow> window;
        PointT<long> pointer;
        if (GetRootWindowRef(window))
        {
            window->GetMousePosition(pointer);
        }
        const PointT<double> popup = mPopup->GetPositionInRoot();
        mPressOffset = PointT<double>(pointer.x - popup.x, pointer.y - popup.y);
    }
    LDropDownControl::OnConditionsChanged(conditions);
}

QZRESULT LComboMenu::OnItemActivated(const RCPtr<LNotificationDistributor>&,
                                     const RCPtr<LNotification>&)
{
    const RCPtr<LControl> self(this);
    if (mPopup)
    {
        mPopup->SetShown(false);
    }
    SelectClosedLook();
    return S_FALSE;
}

QZRESULT LComboMenu::OnPopupVisibilityChanged(const RCPtr<LNotificationDistributor>&,
                                              const RCPtr<LNotification>&)
{
    SelectStateLook();
    return S_OK;
}

} // namespace QZ
