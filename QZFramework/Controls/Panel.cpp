#include "QZFramework/Controls/Panel.h"

#include "QZFramework/ControlBase/SiblingKeyParam.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <cstdio>
#include <string>

namespace QZ
{

LPanel::LPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LScrollView(parent, name, mostDerived)
{
}

LPanel::~LPanel()
{
    mPanelHandler = nullptr;
}

QZRESULT LPanel::Initialize()
{
    const QZRESULT result = LScrollView::Initialize();
    if (Failed(result) || !GetParent())
    {
        return result;
    }
    mPanelHandler = new LNotificationHandler<LPanel>(this);
    const QZRESULT subscribed = mPanelHandler->AddHandler(
        &LPanel::OnSiblingKey, RCPtr<LNotificationDistributor>(GetParent()), NID_SIBLING_KEY, 0);
    if (Failed(subscribed))
    {
        char code[16];
        std::snprintf(code, sizeof(code), "%X", static_cast<std::uint32_t>(subscribed));
        throw FailedResultException(std::string("Failed Result : QZRESULT = ") + code +
                                    " : QZ::LPanel::Initialize : Controls/Panel : Line " +
                                    std::to_string(__LINE__));
    }
    return result;
}

void LPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mPanelHandler && notification &&
        mPanelHandler->Handles(sender, notification->GetID()))
    {
        mPanelHandler->HandleNotification(sender, notification);
        return;
    }
    LScrollView::ReceiveNotification(sender, notification);
}

QZRESULT LPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                             const char16_t* identifier)
{
    if (mPanelHandler)
    {
        mPanelHandler->RemoveHandler(distributor, identifier);
    }
    return LScrollView::Unsubscribe(distributor, identifier);
}

// ---- tab order ----

const RCPtr<LControl>& LPanel::GetNextTabStop(const RCPtr<LControl>& current, bool backwards) const
{
    static const RCPtr<LControl> none;
    const RCPtr<LControl>& next = LScrollView::GetNextTabStop(current, backwards);
    if (!GetParent() || !next)
    {
        return next;
    }
    const std::int32_t to = GetChildIndex(next, kTabOrder);
    const std::int32_t from = GetChildIndex(current, kTabOrder);
    // A search that wrapped around leaves the panel instead.
    return (backwards ? to < from : to > from) ? next : none;
}

void LPanel::TraverseFocus(const RCPtr<LKeyParam>& request)
{
    if (!request)
    {
        return;
    }
    if ((request->GetKey() & KeyCode::kCtrl) != 0)
    {
        // Ctrl+Tab leaves the panel: the parent continues after it with a plain Tab.
        LScrollView::TraverseFocus(request);
        return;
    }
    if (WalkTabStops(request, false) == TabWalk::kFocused)
    {
        return;
    }
    request->GetControls().push_back(RCPtr<LControl>(this));
    if (GetParent())
    {
        GetParent()->TraverseFocus(request);
    }
}

// ---- keys ----

QZRESULT LPanel::ProcessKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return E_INVALIDARG;
    }
    const QZRESULT siblings = SendSiblingKey(key);
    if (siblings != S_FALSE)
    {
        return siblings;
    }
    if (GetParent())
    {
        key->GetControls().push_back(RCPtr<LControl>(this));
        return GetParent()->ProcessKey(key);
    }
    return ForwardKeyToHotKeys(key);
}

QZRESULT LPanel::OnSiblingKey(const RCPtr<LNotificationDistributor>&,
                              const RCPtr<LNotification>& notification)
{
    const RCPtr<LSiblingKeyParam> sibling =
        notification ? RCPtr<LSiblingKeyParam>::DynamicCastFrom(notification->GetPayload())
                     : RCPtr<LSiblingKeyParam>();
    if (sibling)
    {
        const RCPtr<LKeyParam> key = LKeyParam::Create(sibling->GetKey(), true);
        sibling->SetPosition(SendSiblingKey(key));
    }
    return S_FALSE;
}

} // namespace QZ
