#include "QZFramework/Controls/StatusBar.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/ControlHelpers.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/WrapperStringable.h"

namespace QZ
{
namespace
{

WideString CopyText(const WideString& text)
{
    return text;
}

using LStatusText = LWrapperStringable<WideString, &CopyText, LRefCountedObject>;

} // namespace

LStatusBar::LStatusBar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LStatusBar::~LStatusBar() = default;

void LStatusBar::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification)
{
    if (!OfferToOwnHandler(*this, mHandler, sender, notification))
    {
        LControl::ReceiveNotification(sender, notification);
    }
}

QZRESULT LStatusBar::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                 const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LStatusBar::ReleaseInternalReferences()
{
    if (LApplicationBase* application = LApplicationBase::GetApplication())
    {
        application->WithdrawStatusBar(this);
    }
    LNotificationQueue::ReleaseInternalReferences();
    return LControl::ReleaseInternalReferences();
}

QZRESULT LStatusBar::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mLabel = RCPtr<LLabel>::DynamicCastFrom(FindChildByName(WideString(u"label1")));
    if (!mLabel)
    {
        QZ_THROW_RUNTIME("LStatusBar::Initialize", "Null Pointer", "Cannot find child: label1");
    }
    mHandler = new LNotificationHandler<LStatusBar>(this);
    if (Failed(mHandler->AddHandler(&LStatusBar::OnSetStatusText,
                                    RCPtr<LNotificationDistributor>(this), NID_SET_STATUS_TEXT,
                                    LNotificationDistributor::kQueuedOnly)))
    {
        QZ_THROW_FAILED_RESULT(E_FAIL, "LStatusBar::Initialize");
    }
    SetOwnDistributor(this);
    SetIdleUntimed();
    RequestIdle();
    // The main window's tree is built first, so the first status bar is the main window's.
    LApplicationBase* application = LApplicationBase::GetApplication();
    if (application != nullptr && !application->GetStatusBar())
    {
        application->SetStatusBar(RCPtr<LStatusBar>(this));
    }
    return result;
}

QZRESULT LStatusBar::ApplyCreateParams()
{
    const QZRESULT result = LControl::ApplyCreateParams();
    SetNotFocusable(true);
    return result;
}

QZRESULT LStatusBar::PostInitialize()
{
    mInitialHeight = GetSize().y;
    return S_OK;
}

void LStatusBar::OnIdleStep()
{
    ProcessQueue(false);
}

QZRESULT LStatusBar::PostText(const WideString& text)
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_SET_STATUS_TEXT,
                          RCPtr<LRefCountedObject>(new LStatusText(text)));
    return Post(notification);
}

QZRESULT LStatusBar::SetTextNow(const WideString& text)
{
    const RCPtr<LControl> self(this);
    ProcessQueue(false);
    mLabel->SetText(text, true);
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window))
    {
        window->InvalidateAllAndRedraw();
    }
    return S_OK;
}

void LStatusBar::GetLabelText(WideString& text) const
{
    text = WideString();
    const RCPtr<LStringTable> table = mLabel ? mLabel->GetStringTable() : RCPtr<LStringTable>();
    if ((!table || !table->Lookup(u"LABEL", text)) && mLabel && mLabel->GetDescriptor())
    {
        mLabel->GetDescriptor()->GetCreateParam(u"LABEL", text);
    }
}

QZRESULT LStatusBar::OnSetStatusText(const RCPtr<LNotificationDistributor>&,
                                     const RCPtr<LNotification>& notification)
{
    const auto text = RCPtr<LStatusText>::DynamicCastFrom(notification->GetPayload());
    if (text && mLabel)
    {
        mLabel->SetText(*text, true);
    }
    return S_OK;
}

} // namespace QZ
