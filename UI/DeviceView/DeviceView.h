// The drawing of the keyboard inside the main window ("viewDevice" under the main control) and the
// device of the editor's own device tree: its nine group panels are the device's modules.
//
// It holds the edit panels of every control family and shows exactly the one of the control the
// user selected (ShowEditPanel, called by the group panels), and switches the four banks of
// faders, push buttons and encoders when a bank button is clicked.
//
// It carries the commands of the main window's menu, which arrive at the root window, the four
// with global hot keys also at the application centre: the device dialogs, the global settings
// and the About box (created from the skin by name and run modally), loading and saving preset
// files through the desktop's file dialog and the preset manager, the user guide and exit. A
// command runs only while its menu item is enabled and no other command is running (its dialog
// open), whether it came from the menu or a hot key. Every failure the user can meet shows a
// message box; a window the skin lacks is reported so. A child
// the view works with that the skin lacks (an edit or group panel, the bank buttons or the bank
// panels) is a skin error: Initialize throws "Runtime Error : Null Pointer : Cannot find child:
// <name> : ...". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/MenuItemState.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

namespace QZ
{

class LButton;
class LFileDialog;
class LPresetManager;

class LDeviceView : public LControl, public IDevice, public IEditPanelHost
{
public:
    static constexpr std::size_t kBankCount = 4;

    LDeviceView(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LDeviceView() override;

    // Finds the edit panels, the group panels, the bank buttons and the bank panels, subscribes
    // the bank buttons, sets bank 1, hides every edit panel but the push buttons' and gives the
    // main menu this view's menu-item updater.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Subscribes the menu commands (a refused subscription is ignored), then the base's.
    void RegisterHandlers() override;
    // Sending, retrieving and the global settings are enabled only while the keyboard's MIDI
    // ports are there and no exchange with the keyboard runs; every other item keeps its state.
    QZRESULT UpdateMenuItemState(const RCPtr<LMenuDescriptor>& menu, std::int32_t index,
                                 const WideString& command, MenuItemState& state) override;

    // "Tarn61RededoVuvuva": the extension of preset files, which stored files rely on.
    [[nodiscard]] static WideString GetPresetFileExtension();
    // The file dialogs' filter: preset files, then all files.
    [[nodiscard]] static WideString GetPresetFileFilter();
    // "*." and the extension.
    [[nodiscard]] static WideString GetPresetFilePattern();
    // Asks for a preset file and loads it; every result but success and a cancelled dialog shows
    // its message. The load's result, or the dialog's negative one.
    std::int32_t LoadPresetFile();
    // Asks where to save (the extension is added to a name without one) and saves the preset
    // there; a failed save shows an error box. The save's result, or the dialog's negative one.
    std::int32_t SavePresetFile();
    // The message of a preset-file load's result: none for success, one of the five boxes of the
    // preset manager's results, a box naming the file and the system's reason for a file that
    // could not be read (-6), the corrupt file's for any other failure.
    static void ShowPresetFileLoadResult(std::int32_t result, const WideString& path,
                                         const WideString& reason);
    // The file dialogs: 0 with the chosen path, or a negative result when cancelled.
    std::int32_t ShowLoadPresetDialog(WideString& path);
    std::int32_t ShowSavePresetDialog(WideString& path);

    // Runs a dialog created from the skin modally; the application's modal run by default.
    using DialogRunner = std::function<std::int32_t(const RCPtr<LControl>& dialog)>;
    void SetDialogRunner(DialogRunner runner) { mDialogRunner = std::move(runner); }

    // Types 0 to 6 show their family's edit panel and hide the others; type 7 shows the volume
    // pedal's (subtype 0) or the sustain pedal's (subtype 1) and leaves both pedal panels as they
    // are for another subtype; any other type hides every edit panel.
    void ShowEditPanel(std::int32_t controlType, std::int32_t subtype) override;
    // Handler of "NID_LEFT_CLICK" of the four bank buttons: shows bank N of the faders, push
    // buttons and encoders and sets bank button N alone; a shown edit panel of one of them then
    // follows to the element at the same place of bank N, selected as by a click on it, so that
    // the panel never edits an element the surface does not show. Nothing is sent. 1.
    QZRESULT OnBankClicked(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);

    // The group panels as the device's modules; null when a panel is not one (yet).
    [[nodiscard]] RCPtr<IPresetName> GetPresetName() override;
    [[nodiscard]] RCPtr<IKeybedZones> GetKeybedZones() override;
    [[nodiscard]] RCPtr<IWheels> GetWheels() override;
    [[nodiscard]] RCPtr<IPedals> GetPedals() override;
    [[nodiscard]] RCPtr<IPads> GetPads() override;
    [[nodiscard]] RCPtr<IPushButtons> GetPushButtons() override;
    [[nodiscard]] RCPtr<IFaders> GetFaders() override;
    [[nodiscard]] RCPtr<IEncoders> GetEncoders() override;
    [[nodiscard]] RCPtr<ITouchPadAxises> GetTouchPadAxises() override;
    using IDevice::GetEncoders;
    using IDevice::GetFaders;
    using IDevice::GetKeybedZones;
    using IDevice::GetPads;
    using IDevice::GetPedals;
    using IDevice::GetPresetName;
    using IDevice::GetPushButtons;
    using IDevice::GetTouchPadAxises;
    using IDevice::GetWheels;

private:
    // The edit panels in the order ShowEditPanel sets them.
    enum EditPanel : std::size_t
    {
        kXYPadEdit,
        kPadEdit,
        kButtonEdit,
        kKnobEdit,
        kFaderEdit,
        kWheelEdit,
        kZoneEdit,
        kVolumePedalEdit,
        kSustainEdit,
        kEditPanelCount
    };
    enum GroupPanel : std::size_t
    {
        kPads,
        kEncoders,
        kFaders,
        kWheels,
        kPedals,
        kKeybedZones,
        kButtons,
        kXYPad,
        kPresetName,
        kGroupCount
    };
    // The families whose banks the bank buttons switch, in switching order.
    enum BankedFamily : std::size_t
    {
        kFaderBanks,
        kButtonBanks,
        kEncoderBanks,
        kBankedFamilyCount
    };

    // The menu commands. 1 each.
    QZRESULT OnRetrievePreset(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnSendPreset(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnLoadPresetFile(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnSavePresetFile(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnExit(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnAbout(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnOpenUserGuide(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    QZRESULT OnGlobalSettings(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    void OpenDialog(const char16_t* name);
    // One exchange with the keyboard at a time: the items that start one are off while one runs.
    [[nodiscard]] static bool CanStartDeviceExchange();
    // Commands come from the root window (the menu, the window's hot keys) and from the
    // application centre (the application's hot keys).
    [[nodiscard]] bool IsCommandSender(const RCPtr<LNotificationDistributor>& sender) const;
    // A command runs only while its menu item would be enabled, whichever way it was given.
    [[nodiscard]] bool IsCommandEnabled(const char16_t* identifier);

    void FollowSelectionToBank(std::uint32_t bank);
    void FindEditPanels();
    void FindGroupPanels();
    void FindBanks();
    void GiveMenuItemUpdater();
    template <class T> [[nodiscard]] RCPtr<T> Group(GroupPanel group) const
    {
        return RCPtr<T>(dynamic_cast<T*>(mGroups[group].Get()));
    }

    RCPtr<LNotificationHandler<LDeviceView>> mHandler;
    std::array<RCPtr<LControl>, kEditPanelCount> mEditPanels;
    std::array<RCPtr<LControl>, kGroupCount> mGroups;
    std::array<RCPtr<LButton>, kBankCount> mBankButtons;
    std::array<std::array<RCPtr<LControl>, kBankCount>, kBankedFamilyCount> mBanks;
    RCPtr<LPresetManager> mPresetManager;
    RCPtr<LFileDialog> mFileDialog;
    DialogRunner mDialogRunner;
    // Set while a command runs, so that none starts inside another.
    bool mCommandRunning = false;
};

} // namespace QZ
