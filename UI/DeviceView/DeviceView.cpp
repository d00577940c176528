#include "UI/DeviceView/DeviceView.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Platform/Shell/DocumentLauncher.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/ApplicationFolders.h"
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/FileDialog.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/System/DebugStreams.h"
#include "UI/DriverCommon/AppServices.h"
#include "UI/DriverCommon/MainControl.h"
#include "UI/DriverCommon/PresetFileMessages.h"
#include "UI/DriverCommon/PresetManager.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include <string>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LDeviceView::Initialize";
// The product's name without its blanks names the preset files.
constexpr const char16_t* kPresetFileExtension = u"Tarn61RededoVuvuva";

struct Command
{
    const char16_t* identifier;
    QZRESULT(LDeviceView::*handler)
    (const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
};

WideString AppString(const char16_t* key)
{
    WideString text;
    GetAppString(text, key);
    return text;
}

void ShowAppMessage(const char16_t* textKey, const char16_t* captionKey, const WideString& detail)
{
    ShowMessageBox(AppString(textKey) + detail, AppString(captionKey), kMessageBoxErrorIcon);
}

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
    mFileDialog = new LFileDialog(WideString(u"."));
    mPresetManager = LPresetManager::Create();
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
    static constexpr NamedChild<GroupPanel> kGroupNames[] = {
        {u"pads", kPads},       {u"encoders", kEncoders}, {u"faders", kFaders},
        {u"wheels", kWheels},   {u"pedals", kPedals},     {u"keybedZones", kKeybedZones},
        {u"buttons", kButtons}, {u"xyPad", kXYPad},       {u"presetNameEditPanel", kPresetName},
    };
    for (const NamedChild<GroupPanel>& child : kGroupNames)
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
    static constexpr GroupPanel kBankedGroups[] = {kFaders, kButtons, kEncoders};
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
    mPresetManager = nullptr;
    mFileDialog = nullptr;
    mDialogRunner = nullptr;
    return LControl::ReleaseInternalReferences();
}

void LDeviceView::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        if (!IsCommandSender(sender))
        {
            mHandler->HandleNotification(sender, notification);
        }
        else if (!mCommandRunning && IsCommandEnabled(notification->GetID()))
        {
            // A command's dialog, file dialog or message box runs a loop of its own; keys typed
            // there must not start another command on top of it.
            const RCPtr<LControl> self(this);
            mCommandRunning = true;
            struct Running
            {
                bool& flag;
                ~Running() { flag = false; }
            } running{mCommandRunning};
            mHandler->HandleNotification(sender, notification);
        }
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

bool LDeviceView::IsCommandSender(const RCPtr<LNotificationDistributor>& sender) const
{
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    const LNotificationDistributor* from = sender.Get();
    return from != nullptr &&
           (from == static_cast<LNotificationDistributor*>(window.Get()) ||
            from == static_cast<LNotificationDistributor*>(GetApplicationNotificationCenter().Get()));
}

bool LDeviceView::IsCommandEnabled(const char16_t* identifier)
{
    MenuItemState state;
    state.enabled = true;
    static_cast<void>(UpdateMenuItemState(nullptr, -1, WideString(identifier), state));
    return state.enabled;
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

void LDeviceView::RegisterHandlers()
{
    // Menu commands reach the root window; the four with global hot keys also come through the
    // application centre, to the same handlers.
    static constexpr Command kMenuCommands[] = {
        {NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE, &LDeviceView::OnRetrievePreset},
        {NID_MENU_FILE_SEND_PRESET_TO_DEVICE, &LDeviceView::OnSendPreset},
        {NID_MENU_FILE_LOAD_PRESET_FROM_FILE, &LDeviceView::OnLoadPresetFile},
        {NID_MENU_FILE_SAVE_PRESET_TO_FILE, &LDeviceView::OnSavePresetFile},
        {NID_MENU_FILE_EXIT_REQ, &LDeviceView::OnExit},
        {NID_MENU_HELP_ABOUT_REQ, &LDeviceView::OnAbout},
        {NID_MENU_HELP_OPEN_USER_GUIDE_REQ, &LDeviceView::OnOpenUserGuide},
        {NID_MENU_FILE_GLOBALSETTINGS_REQ, &LDeviceView::OnGlobalSettings},
    };
    static constexpr Command kHotKeyCommands[] = {
        {NID_MENU_FILE_LOAD_PRESET_FROM_FILE, &LDeviceView::OnLoadPresetFile},
        {NID_MENU_FILE_SEND_PRESET_TO_DEVICE, &LDeviceView::OnSendPreset},
        {NID_MENU_FILE_SAVE_PRESET_TO_FILE, &LDeviceView::OnSavePresetFile},
        {NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE, &LDeviceView::OnRetrievePreset},
    };
    if (mHandler)
    {
        RCPtr<LRootWindow> window;
        GetRootWindowRef(window);
        const RCPtr<LNotificationDistributor> centre(GetApplicationNotificationCenter().Get());
        for (const Command& command : kMenuCommands)
        {
            static_cast<void>(mHandler->AddHandler(command.handler,
                                                   RCPtr<LNotificationDistributor>(window.Get()),
                                                   command.identifier, 0));
        }
        for (const Command& command : kHotKeyCommands)
        {
            static_cast<void>(mHandler->AddHandler(command.handler, centre, command.identifier, 0));
        }
    }
    LControl::RegisterHandlers();
}

QZRESULT LDeviceView::UpdateMenuItemState(const RCPtr<LMenuDescriptor>&, std::int32_t,
                                          const WideString& command, MenuItemState& state)
{
    const std::u16string_view identifier(command.GetString());
    if (identifier != NID_MENU_FILE_SEND_PRESET_TO_DEVICE &&
        identifier != NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE &&
        identifier != NID_MENU_FILE_GLOBALSETTINGS_REQ)
    {
        return S_FALSE;
    }
    state.enabled = CanStartDeviceExchange();
    return S_OK;
}

bool LDeviceView::CanStartDeviceExchange()
{
    if (LDeviceExchange::IsAnyRunning())
    {
        return false;
    }
    const LApplication* application = LApplication::GetApplication();
    const RCPtr<LMidiManager> midi = application ? application->GetMidiManager() : nullptr;
    return midi && midi->ArePortsAvailable();
}

WideString LDeviceView::GetPresetFileExtension()
{
    return WideString(kPresetFileExtension);
}

WideString LDeviceView::GetPresetFileFilter()
{
    const WideString extension = GetPresetFileExtension();
    return AppString(u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_1") + extension + WideString(u")|*.") +
           extension + AppString(u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_2");
}

WideString LDeviceView::GetPresetFilePattern()
{
    return WideString(u"*.") + GetPresetFileExtension();
}

std::int32_t LDeviceView::ShowLoadPresetDialog(WideString& path)
{
    const QZRESULT result =
        mFileDialog->GetOpenFileName(GetPresetFileFilter(), GetPresetFilePattern(),
                                     AppString(u"LOAD_PRESET_DIALOG_TITLE"), false);
    if (Succeeded(result))
    {
        mFileDialog->GetFileName(path);
    }
    return result;
}

std::int32_t LDeviceView::ShowSavePresetDialog(WideString& path)
{
    const QZRESULT result = mFileDialog->GetSaveFileName(
        GetPresetFileFilter(), GetPresetFilePattern(), AppString(u"SAVE_PRESET_DIALOG_TITLE"));
    if (Succeeded(result))
    {
        mFileDialog->GetFileName(path);
    }
    return result;
}

std::int32_t LDeviceView::LoadPresetFile()
{
    WideString path;
    const std::int32_t chosen = ShowLoadPresetDialog(path);
    if (chosen < 0)
    {
        return chosen;
    }
    const std::int32_t result = mPresetManager->LoadPresetFile(path);
    ShowPresetFileLoadResult(result, path, WideString(mPresetManager->GetReadError().c_str()));
    return result;
}

void LDeviceView::ShowPresetFileLoadResult(std::int32_t result, const WideString& path,
                                           const WideString& reason)
{
    switch (result)
    {
    case 0:
        break;
    case -6:
        ShowAppMessage(u"SETTINGS_FILE_LOAD_UNREADABLE_MESSAGE", u"SETTINGS_FILE_LOAD_CAPTION",
                       WideString(u"\n") + path + WideString(u"\n") + reason);
        break;
    case -1:
        ShowPresetFileOlderMessage();
        break;
    case -2:
        ShowPresetFileNewerMessage();
        break;
    case -4:
        ShowPresetFileWrongDeviceMessage();
        break;
    case -5:
        ShowPresetFileTranslationFailureMessage();
        break;
    default:
        // A damaged file (-3) and anything unforeseen.
        ShowPresetFileCorruptMessage();
        break;
    }
}

std::int32_t LDeviceView::SavePresetFile()
{
    WideString path;
    const std::int32_t chosen = ShowSavePresetDialog(path);
    if (chosen < 0)
    {
        return chosen;
    }
    const QZRESULT result = mPresetManager->SavePresetFile(path);
    if (Failed(result))
    {
        ShowAppMessage(u"SETTINGS_FILE_SAVE_FAILED_MESSAGE", u"SETTINGS_FILE_SAVE_CAPTION",
                       WideString(u"\n") + path);
    }
    return result;
}

QZRESULT LDeviceView::OnRetrievePreset(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>&)
{
    OpenDialog(u"dialogRetrievePresetFromHardware");
    return S_FALSE;
}

QZRESULT LDeviceView::OnSendPreset(const RCPtr<LNotificationDistributor>&,
                                   const RCPtr<LNotification>&)
{
    OpenDialog(u"dialogSendPreset");
    return S_FALSE;
}

QZRESULT LDeviceView::OnLoadPresetFile(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>&)
{
    static_cast<void>(LoadPresetFile());
    return S_FALSE;
}

QZRESULT LDeviceView::OnSavePresetFile(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>&)
{
    static_cast<void>(SavePresetFile());
    return S_FALSE;
}

QZRESULT LDeviceView::OnExit(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    RCPtr<LNotification> exit;
    LNotification::Create(exit, NID_APP_EXIT_REQ);
    static_cast<void>(GetApplicationNotificationCenter()->Post(exit));
    return S_FALSE;
}

QZRESULT LDeviceView::OnAbout(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    OpenDialog(u"dialogAbout");
    return S_FALSE;
}

QZRESULT LDeviceView::OnGlobalSettings(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>&)
{
    OpenDialog(u"globalEditorControl");
    return S_FALSE;
}

QZRESULT LDeviceView::OnOpenUserGuide(const RCPtr<LNotificationDistributor>&,
                                      const RCPtr<LNotification>&)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const WideString folder =
        application != nullptr ? application->GetFolder(kFolderProgram) : WideString();
    const WideString path = folder + WideString(u"/") + AppString(u"USER_GUIDE_FILE_NAME");
    NarrowString name;
    if (folder.IsEmpty() || !WideStringToFileName(path, name) ||
        !Shell::OpenDocument(name.GetString()))
    {
        // Where the editor looked tells a user whose guide went missing what to put back.
        ShowAppMessage(u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_TEXT",
                       u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_CAPTION",
                       WideString(u"\n") + path);
    }
    return S_FALSE;
}

void LDeviceView::OpenDialog(const char16_t* name)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : nullptr;
    RCPtr<LControl> dialog;
    try
    {
        if (factory)
        {
            static_cast<void>(factory->CreateRootControl(dialog, WideString(name)));
        }
    }
    catch (const std::exception& e)
    {
        DebugStreams::Narrow() << "LDeviceView::OpenDialog: " << e.what() << std::endl;
        dialog = nullptr;
    }
    if (!dialog)
    {
        ShowAppMessage(u"SKIN_WINDOW_MISSING_MESSAGE", u"SKIN_WINDOW_MISSING_CAPTION",
                       WideString(u"\n") + WideString(name));
        return;
    }
    if (mDialogRunner)
    {
        static_cast<void>(mDialogRunner(dialog));
    }
    else if (IApplicationShell* shell = GetApplicationShell())
    {
        static_cast<void>(shell->RunModal(dialog, 1));
    }
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
    FollowSelectionToBank(static_cast<std::uint32_t>(clicked));
    return S_FALSE;
}

void LDeviceView::FollowSelectionToBank(std::uint32_t bank)
{
    static constexpr struct
    {
        BankedFamily family;
        EditPanel panel;
        const char16_t* tile;
        std::uint32_t perBank;
    } kFamilies[] = {{kFaderBanks, kFaderEdit, u"fader", 9},
                     {kButtonBanks, kButtonEdit, u"button", 9},
                     {kEncoderBanks, kKnobEdit, u"encoder", 8}};
    for (const auto& family : kFamilies)
    {
        const RCPtr<LControl>& panel = mEditPanels[family.panel];
        const auto* bound = dynamic_cast<const LParameterizedModule*>(panel.Get());
        if (bound == nullptr || bound->GetParent() == nullptr || !panel->IsShowing(false) ||
            bound->GetIndex() / family.perBank == bank)
        {
            continue;
        }
        const WideString tile = NumberedName(family.tile, bound->GetIndex() % family.perBank + 1);
        // The user's own click on the tile, so the group selects it on its ordinary road.
        if (const RCPtr<LControl> button =
                FindDescendant(mBanks[family.family][bank], {tile.GetString(), u"button"}))
        {
            RCPtr<LNotification> click;
            LNotification::Create(click, NID_LEFT_CLICK,
                                  RCPtr<LRefCountedObject>(
                                      LMouseButtonParam::Create(0, 0, 0, 1, false, 0).Get()));
            button->Distribute(click);
        }
    }
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
