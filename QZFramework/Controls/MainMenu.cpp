#include "QZFramework/Controls/MainMenu.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Notification/NotificationIDs.h"

namespace QZ
{

LMainMenu::LMainMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LMainMenu::~LMainMenu() = default;

void LMainMenu::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LMainMenu::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LMainMenu::ReleaseInternalReferences()
{
    mTitles.clear();
    mUpdater = nullptr;
    mFocusReturn = nullptr;
    return LControl::ReleaseInternalReferences();
}

QZRESULT LMainMenu::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    const RCPtr<LControl> self(this);
    const RCPtr<LControl> templateMenu = FindChildByName(WideString(u"templateMenu"));
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    if (dynamic_cast<LComboMenu*>(templateMenu.Get()) == nullptr || !factory ||
        !templateMenu->GetDescriptor())
    {
        return E_FAIL;
    }
    mHandler = new LNotificationHandler<LMainMenu>(this);
    std::vector<RCPtr<LMenuDescriptor>> menus;
    BuildContextMenu(menus);
    for (std::size_t n = 0; n < menus.size(); ++n)
    {
        const RCPtr<LLayoutDescriptor> layout = templateMenu->GetDescriptor()->layout->Clone();
        if (n > 0)
        {
            // Each title starts where the one before it ends.
            layout->position[0] = {
                0.0f, LLayoutDescriptor::kSibling, mTitles.back()->GetName(), 1.0f,
                0.0,  layout->position[0].docked};
        }
        RCPtr<LControlDescriptor> descriptor;
        LControlDescriptor::CloneWithName(descriptor, templateMenu->GetDescriptor(),
                                          WideString::FromFormat(u"menu%d", static_cast<int>(n)),
                                          layout);
        RCPtr<LControl> control;
        factory->CreateControl(control, descriptor, self);
        const RCPtr<LComboMenu> title = RCPtr<LComboMenu>::DynamicCastFrom(control);
        if (!title)
        {
            return E_FAIL;
        }
        WideString label;
        title->SetText(
            GetString(label,
                      WideString::FromFormat(u"MENU_LABEL.%02d", static_cast<int>(n)).GetString()),
            true);
        title->GetPopupMenu()->SetMenu(menus[n]);
        title->GetPopupMenu()->SetMenuItemUpdater(mUpdater);
        mHandler->AddHandler(&LMainMenu::OnTitleOpening, RCPtr<LNotificationDistributor>(title),
                             NID_DROPDOWN_OPENING, 0);
        mTitles.push_back(title);
    }
    templateMenu->SetShown(false);
    return S_OK;
}

void LMainMenu::RegisterHandlers()
{
    LControl::RegisterHandlers();
    RCPtr<LRootWindow> window;
    if (!GetRootWindowRef(window) || !window->GetHotKeyManager())
    {
        return;
    }
    for (const RCPtr<LComboMenu>& title : mTitles)
    {
        // Set once: a tree attached again keeps its first window's receiver.
        title->GetPopupMenu()->SetNotifyTarget(window->GetHotKeyManager()->GetTarget());
    }
}

void LMainMenu::SetMenuItemUpdater(const RCPtr<LMenuItemUpdater>& updater)
{
    mUpdater = updater;
    for (const RCPtr<LComboMenu>& title : mTitles)
    {
        title->GetPopupMenu()->SetMenuItemUpdater(updater);
    }
}

QZRESULT LMainMenu::FocusFromChild(const RCPtr<LControl>&)
{
    return S_OK;
}

bool LMainMenu::Contains(const LControl* control) const
{
    for (; control != nullptr; control = control->GetParent().Get())
    {
        if (control == this)
        {
            return true;
        }
    }
    return false;
}

QZRESULT LMainMenu::OnTitleOpening(const RCPtr<LNotificationDistributor>&,
                                   const RCPtr<LNotification>&)
{
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window) && window->GetFocusedControl() &&
        !Contains(window->GetFocusedControl().Get()))
    {
        mFocusReturn = window->GetFocusedControl();
    }
    return S_FALSE;
}

void LMainMenu::ReturnFocus()
{
    RCPtr<LRootWindow> window;
    if (mFocusReturn && mFocusReturn->GetRootWindowRef(window))
    {
        const RCPtr<LControl> control = mFocusReturn;
        control->SetFocus(true);
    }
}

RCPtr<LControl>& LMainMenu::FindEditTarget(RCPtr<LControl>& out)
{
    RCPtr<LRootWindow> window;
    if (mFocusReturn && mFocusReturn->GetRootWindowRef(window))
    {
        return mFocusReturn->FindEditTarget(out);
    }
    return LControl::FindEditTarget(out);
}

} // namespace QZ
