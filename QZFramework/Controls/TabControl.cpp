#include "QZFramework/Controls/TabControl.h"

#include "QZFramework/Notification/NotificationIDs.h"

namespace QZ
{
namespace
{

const WideString kButtonHolderName(u"buttonHolder");
const WideString kPageHolderName(u"pageHolder");

} // namespace

LTabControl::LTabControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LTabControl::~LTabControl() = default;

QZRESULT LTabControl::Initialize()
{
    if (Failed(LPanel::Initialize()))
    {
        return E_FAIL;
    }
    mButtonHolder = RCPtr<LPanel>::DynamicCastFrom(FindChildByName(kButtonHolderName));
    mPageHolder = RCPtr<LPanel>::DynamicCastFrom(FindChildByName(kPageHolderName));
    const QZRESULT result = SelectTabAt(0);
    if (Failed(result))
    {
        return result;
    }
    mTabHandler = new LNotificationHandler<LTabControl>(this);
    const ChildControlList& buttons = mButtonHolder->GetChildren();
    for (std::uint32_t i = 0; i < buttons.GetCount(); ++i)
    {
        mTabHandler->AddHandler(&LTabControl::OnTabButtonClick,
                                RCPtr<LNotificationDistributor>(buttons.GetAt(i, kStorageOrder)),
                                NID_LEFT_CLICK, 0);
    }
    return result;
}

QZRESULT LTabControl::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    const QZRESULT result = LPanel::ApplyDescriptor(descriptor);
    if (IsCreated())
    {
        SelectTab(WideString(mSelected));
    }
    return result;
}

void LTabControl::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mTabHandler && notification &&
        mTabHandler->Handles(sender, notification->GetID()))
    {
        mTabHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LTabControl::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                  const char16_t* identifier)
{
    if (mTabHandler)
    {
        mTabHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

// ---- pages ----

std::uint32_t LTabControl::GetTabCount() const
{
    return mPageHolder ? mPageHolder->GetChildren().GetCount() : 0;
}

std::int32_t LTabControl::GetTabIndex(const WideString& name) const
{
    for (std::uint32_t i = GetTabCount(); i-- > 0;)
    {
        if (mPageHolder->GetChildren().GetAt(i, kStorageOrder)->GetName() == name)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::int32_t LTabControl::GetSelectedIndex() const
{
    return GetTabIndex(mSelected);
}

const RCPtr<LControl>& LTabControl::GetSelectedPage() const
{
    const std::int32_t index = GetSelectedIndex();
    return GetPageAt(index < 0 ? GetTabCount() : static_cast<std::uint32_t>(index));
}

const RCPtr<LControl>& LTabControl::GetPage(const WideString& name) const
{
    const std::int32_t index = GetTabIndex(name);
    return GetPageAt(index < 0 ? GetTabCount() : static_cast<std::uint32_t>(index));
}

const RCPtr<LControl>& LTabControl::GetPageAt(std::uint32_t index) const
{
    static const RCPtr<LControl> none;
    return index < GetTabCount() ? mPageHolder->GetChildren().GetAt(index, kStorageOrder) : none;
}

// ---- selection ----

QZRESULT LTabControl::SelectTab(const WideString& name)
{
    if (!mButtonHolder)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> self(this);
    const ChildControlList& buttons = mButtonHolder->GetChildren();
    for (std::uint32_t i = buttons.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& button = buttons.GetAt(i, kStorageOrder);
        button->SetValue(button->GetName() == name ? 1.0 : 0.0);
    }
    for (std::uint32_t i = GetTabCount(); i-- > 0;)
    {
        const RCPtr<LControl>& page = mPageHolder->GetChildren().GetAt(i, kStorageOrder);
        page->SetShown(page->GetName() == name);
    }
    if (!(mSelected == name))
    {
        mSelected = name;
    }
    OnTabSelected();
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_TAB_SELECTED,
                          RCPtr<LRefCountedObject>(GetSelectedPage()));
    Distribute(notification);
    return S_OK;
}

QZRESULT LTabControl::SelectTabAt(std::uint32_t index)
{
    if (!mButtonHolder || index >= mButtonHolder->GetChildren().GetCount())
    {
        return E_FAIL;
    }
    return SelectTab(WideString(mButtonHolder->GetChildren().GetAt(index, kTabOrder)->GetName()));
}

QZRESULT LTabControl::OnTabButtonClick(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>&)
{
    if (const auto* button = dynamic_cast<const LControl*>(sender.Get()))
    {
        SelectTab(WideString(button->GetName()));
    }
    return S_FALSE;
}

} // namespace QZ
