#include "UI/TarnSeriesCommon/ButtonGroupPanel.h"

#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ButtonEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonPanel.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LButtonGroupPanel::Initialize";
constexpr std::uint32_t kBankCount = 4;
constexpr std::uint32_t kButtonsPerBank = 9;

} // namespace

LButtonGroupPanel::LButtonGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                     bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LButtonGroupPanel::~LButtonGroupPanel() = default;

QZRESULT LButtonGroupPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LButtonGroupPanel>(this);
    RCPtr<LControl> root;
    GetRootControl(root);
    const RCPtr<LControl> device =
        root ? root->FindChildByName(WideString(u"viewDevice")) : nullptr;
    mEditPanel = RCPtr<LButtonEditPanel>::DynamicCastFrom(
        device ? device->FindChildByName(WideString(u"buttonEditPanel")) : nullptr);
    if (!mEditPanel)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "buttonEditPanel knob found");
    }
    Listen(RCPtr<LNotificationDistributor>(mEditPanel.Get()), NID_VISIBLITY_CONDITION_CHANGE,
           &LButtonGroupPanel::OnEditPanelVisibilityChange);
    mButtons.clear();
    for (std::uint32_t bank = 1; bank <= kBankCount; ++bank)
    {
        const RCPtr<LControl> holder = FindChildByName(NumberedName(u"buttonBank", bank));
        for (std::uint32_t button = 1; button <= kButtonsPerBank; ++button)
        {
            mButtons.push_back(RCPtr<LButtonPanel>::DynamicCastFrom(
                holder ? holder->FindChildByName(NumberedName(u"button", button)) : nullptr));
        }
    }
    bool complete = true;
    for (std::size_t i = 0; i < mButtons.size(); ++i)
    {
        const RCPtr<LControl> clickable = GetClickable(i);
        complete = complete && clickable != nullptr;
        if (clickable)
        {
            Listen(RCPtr<LNotificationDistributor>(clickable.Get()), NID_LEFT_CLICK,
                   &LButtonGroupPanel::OnButtonClick);
        }
    }
    if (!complete)
    {
        QZ_THROW_FAILED_RESULT(E_FAIL, kInitialize);
    }
    return result;
}

QZRESULT LButtonGroupPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mButtons.clear();
    mEditPanel = nullptr;
    mSelected = -1;
    return LPanel::ReleaseInternalReferences();
}

void LButtonGroupPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                            const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LButtonGroupPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                        const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

void LButtonGroupPanel::Listen(
    const RCPtr<LNotificationDistributor>& distributor, const char16_t* identifier,
    QZRESULT (LButtonGroupPanel::*method)(const RCPtr<LNotificationDistributor>&,
                                          const RCPtr<LNotification>&))
{
    const QZRESULT result = mHandler->AddHandler(method, distributor, identifier, 0);
    if (Failed(result))
    {
        QZ_THROW_FAILED_RESULT(result, kInitialize);
    }
}

RCPtr<LControl> LButtonGroupPanel::GetClickable(std::size_t index) const
{
    const RCPtr<LButtonPanel>& panel = mButtons[index];
    return panel ? panel->FindChildByName(WideString(u"button")) : nullptr;
}

void LButtonGroupPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                        std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    for (std::uint32_t i = 0; i < mButtons.size(); ++i)
    {
        if (mButtons[i])
        {
            const auto childID = static_cast<std::uint32_t>(firstParamID) + i;
            mButtons[i]->SetFirstParamID(this, static_cast<std::int32_t>(childID), i);
        }
    }
}

RCPtr<IPushButton> LButtonGroupPanel::GetPushButton(std::uint32_t index)
{
    if (index >= mButtons.size())
    {
        return nullptr;
    }
    if (static_cast<std::int32_t>(index) == mSelected && mEditPanel)
    {
        return RCPtr<IPushButton>(mEditPanel.Get());
    }
    return RCPtr<IPushButton>(mButtons[index].Get());
}

std::int32_t LButtonGroupPanel::SetParamValue(const ParamDescriptor& descriptor,
                                              const Variant& value)
{
    if (mSelected >= 0 && mButtons[static_cast<std::size_t>(mSelected)])
    {
        static_cast<void>(mButtons[static_cast<std::size_t>(mSelected)]->SetParamValueLocal(
            descriptor, value, false));
    }
    return 0;
}

QZRESULT LButtonGroupPanel::OnButtonClick(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>&)
{
    for (std::uint32_t i = 0; i < mButtons.size(); ++i)
    {
        const RCPtr<LControl> clickable = GetClickable(i);
        if (!clickable)
        {
            continue;
        }
        const bool clicked =
            sender.Get() == static_cast<LNotificationDistributor*>(clickable.Get());
        clickable->SetValue(clicked ? 1.0 : 0.0);
        if (clicked)
        {
            Select(i);
        }
    }
    return 1;
}

// The edit panel shows before it is bound, so the value it then receives is drawn at once.
void LButtonGroupPanel::Select(std::uint32_t index)
{
    mSelected = static_cast<std::int32_t>(index);
    if (!ShowEditPanelOf(*this, kPushButtonControlType, static_cast<std::int32_t>(index)))
    {
        mEditPanel->SetShown(true);
    }
    mEditPanel->SetFirstParamID(this, mButtons[index]->GetFirstParamID(), index);
}

QZRESULT LButtonGroupPanel::OnEditPanelVisibilityChange(const RCPtr<LNotificationDistributor>&,
                                                        const RCPtr<LNotification>&)
{
    if (mEditPanel->IsShowing(false))
    {
        return 1;
    }
    for (std::size_t i = 0; i < mButtons.size(); ++i)
    {
        if (const RCPtr<LControl> clickable = GetClickable(i))
        {
            clickable->SetValue(0.0);
        }
    }
    return 1;
}

} // namespace QZ
