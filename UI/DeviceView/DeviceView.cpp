#include "UI/DeviceView/DeviceView.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/DriverCommon/MainControl.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"

#include <string>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LDeviceView::Initialize";

template <class Index> struct NamedChild
{
    const char16_t* name;
    Index index;
};

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// The direct child of that name as a panel; a skin without it cannot be edited.
RCPtr<LControl> RequirePanel(const LControl& parent, const char16_t* name)
{
    RCPtr<LControl> child = parent.FindChildByName(WideString(name));
    if (!dynamic_cast<LPanel*>(child.Get()))
    {
        const std::string detail = "Cannot find child: " + Narrow(WideString(name));
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", detail);
    }
    return child;
}

} // namespace

LDeviceView::LDeviceView(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LDeviceView::~LDeviceView() = default;

QZRESULT LDeviceView::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LDeviceView>(this);
    FindEditPanels();
    FindGroupPanels();
    FindBanks();
    for (const RCPtr<LButton>& bank : mBankButtons)
    {
        const QZRESULT subscribed =
            mHandler->AddHandler(&LDeviceView::OnBankClicked,
                                 RCPtr<LNotificationDistributor>(bank.Get()), NID_LEFT_CLICK, 0);
        if (Failed(subscribed))
        {
            QZ_THROW_FAILED_RESULT(subscribed, kInitialize);
        }
    }
    mBankButtons[0]->SetValue(1.0);
    for (std::size_t panel = 0; panel < kEditPanelCount; ++panel)
    {
        if (panel != kButtonEdit)
        {
            mEditPanels[panel]->SetShown(false);
        }
    }
    GiveMenuItemUpdater();
    return result;
}

void LDeviceView::FindEditPanels()
{
    static constexpr NamedChild<EditPanel> kEditPanelNames[] = {
        {u"padEditPanel", kPadEdit},        {u"knobEditPanel", kKnobEdit},
        {u"faderEditPanel", kFaderEdit},    {u"volumePedalEditPanel", kVolumePedalEdit},
        {u"wheelEditPanel", kWheelEdit},    {u"xyPadEditPanel", kXYPadEdit},
        {u"sustainEditPage", kSustainEdit}, {u"zoneEditPanel", kZoneEdit},
        {u"buttonEditPanel", kButtonEdit},
    };
    for (const NamedChild<EditPanel>& child : kEditPanelNames)
    {
        mEditPanels[child.index] = RequirePanel(*this, child.name);
    }
}

void LDeviceView::FindGroupPanels()
{
    static constexpr NamedChild<enum Group> kGroupNames[] = {
        {u"pads", kPads},       {u"encoders", kEncoders}, {u"faders", kFaders},
        {u"wheels", kWheels},   {u"pedals", kPedals},     {u"keybedZones", kKeybedZones},
        {u"buttons", kButtons}, {u"xyPad", kXYPad},       {u"presetNameEditPanel", kPresetName},
    };
    for (const NamedChild<enum Group>& child : kGroupNames)
    {
        mGroups[child.index] = RequirePanel(*this, child.name);
    }
}

void LDeviceView::FindBanks()
{
    const RCPtr<LControl> holder = RequirePanel(*this, u"groupBankPanel");
    for (std::uint32_t bank = 0; bank < kBankCount; ++bank)
    {
        const WideString name = NumberedName(u"bank", bank + 1);
        mBankButtons[bank] = RCPtr<LButton>::DynamicCastFrom(holder->FindChildByName(name));
        if (!mBankButtons[bank])
        {
            const std::string detail = "Cannot find child: " + Narrow(name);
            QZ_THROW_RUNTIME(kInitialize, "Null Pointer", detail);
        }
    }
    static constexpr NamedChild<BankedFamily> kBankedNames[] = {{u"faderBank", kFaderBanks},
                                                                {u"buttonBank", kButtonBanks},
                                                                {u"encoderBank", kEncoderBanks}};
    static constexpr enum Group kBankedGroups[] = {kFaders, kButtons, kEncoders};
    for (const NamedChild<BankedFamily>& family : kBankedNames)
    {
        const LControl& group = *mGroups[kBankedGroups[family.index]];
        for (std::uint32_t bank = 0; bank < kBankCount; ++bank)
        {
            const WideString name = NumberedName(family.name, bank + 1);
            mBanks[family.index][bank] = RequirePanel(group, name.GetString());
        }
    }
}

void LDeviceView::GiveMenuItemUpdater()
{
    const RCPtr<LControl> parent = LControl::GetParent();
    if (!dynamic_cast<LMainControl*>(parent.Get()))
    {
        return;
    }
    const RCPtr<LMainMenu> menu =
        RCPtr<LMainMenu>::DynamicCastFrom(parent->FindChildByName(WideString(u"mainMenu")));
    if (menu)
    {
        menu->SetMenuItemUpdater(GetMenuItemUpdater());
    }
}

QZRESULT LDeviceView::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mEditPanels = {};
    mGroups = {};
    mBankButtons = {};
    mBanks = {};
    return LControl::ReleaseInternalReferences();
}

void LDeviceView::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LDeviceView::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                  const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

void LDeviceView::ShowEditPanel(std::int32_t controlType, std::int32_t subtype)
{
    if (!mEditPanels[kPadEdit])
    {
        return;
    }
    static constexpr struct
    {
        EditPanel panel;
        std::int32_t controlType;
    } kFamilyPanels[] = {
        {kXYPadEdit, kXYPadControlType},       {kPadEdit, kPadControlType},
        {kButtonEdit, kPushButtonControlType}, {kKnobEdit, kEncoderControlType},
        {kFaderEdit, kFaderControlType},       {kWheelEdit, kWheelControlType},
        {kZoneEdit, kKeybedZoneControlType},
    };
    for (const auto& family : kFamilyPanels)
    {
        mEditPanels[family.panel]->SetShown(controlType == family.controlType);
    }
    if (controlType != kPedalControlType)
    {
        mEditPanels[kVolumePedalEdit]->SetShown(false);
        mEditPanels[kSustainEdit]->SetShown(false);
    }
    else if (subtype == 0 || subtype == 1)
    {
        mEditPanels[kVolumePedalEdit]->SetShown(subtype == 0);
        mEditPanels[kSustainEdit]->SetShown(subtype == 1);
    }
}

QZRESULT LDeviceView::OnBankClicked(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>&)
{
    std::size_t clicked = 0;
    while (clicked < kBankCount &&
           sender.Get() != static_cast<LNotificationDistributor*>(mBankButtons[clicked].Get()))
    {
        ++clicked;
    }
    if (clicked == kBankCount)
    {
        return S_FALSE;
    }
    for (const std::array<RCPtr<LControl>, kBankCount>& family : mBanks)
    {
        for (std::size_t bank = 0; bank < kBankCount; ++bank)
        {
            family[bank]->SetShown(bank == clicked);
        }
    }
    for (std::size_t bank = 0; bank < kBankCount; ++bank)
    {
        mBankButtons[bank]->SetValue(bank == clicked ? 1.0 : 0.0);
    }
    return S_FALSE;
}

RCPtr<IPresetName> LDeviceView::GetPresetName()
{
    return Group<IPresetName>(kPresetName);
}

RCPtr<IKeybedZones> LDeviceView::GetKeybedZones()
{
    return Group<IKeybedZones>(kKeybedZones);
}

RCPtr<IWheels> LDeviceView::GetWheels()
{
    return Group<IWheels>(kWheels);
}

RCPtr<IPedals> LDeviceView::GetPedals()
{
    return Group<IPedals>(kPedals);
}

RCPtr<IPads> LDeviceView::GetPads()
{
    return Group<IPads>(kPads);
}

RCPtr<IPushButtons> LDeviceView::GetPushButtons()
{
    return Group<IPushButtons>(kButtons);
}

RCPtr<IFaders> LDeviceView::GetFaders()
{
    return Group<IFaders>(kFaders);
}

RCPtr<IEncoders> LDeviceView::GetEncoders()
{
    return Group<IEncoders>(kEncoders);
}

RCPtr<ITouchPadAxises> LDeviceView::GetTouchPadAxises()
{
    return Group<ITouchPadAxises>(kXYPad);
}

} // namespace QZ
