// The drawing of the keyboard inside the main window ("viewDevice" under the main control) and the
// device of the editor's own device tree: its nine group panels are the device's modules.
//
// It holds the edit panels of every control family and shows exactly the one of the control the
// user selected (ShowEditPanel, called by the group panels), and switches the four banks of
// faders, push buttons and encoders when a bank button is clicked. A child the view works with
// that the skin lacks (an edit or group panel, the bank buttons or the bank panels) is a skin
// error: Initialize throws "Runtime Error : Null Pointer : Cannot find child: <name> : ...".
// User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"

#include <array>
#include <cstdint>

namespace QZ
{

class LButton;

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

    // Types 0 to 6 show their family's edit panel and hide the others; type 7 shows the volume
    // pedal's (subtype 0) or the sustain pedal's (subtype 1) and leaves both pedal panels as they
    // are for another subtype; any other type hides every edit panel.
    void ShowEditPanel(std::int32_t controlType, std::int32_t subtype) override;
    // Handler of "NID_LEFT_CLICK" of the four bank buttons: shows bank N of the faders, push
    // buttons and encoders and sets bank button N alone. 1.
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
    enum Group : std::size_t
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

    void FindEditPanels();
    void FindGroupPanels();
    void FindBanks();
    void GiveMenuItemUpdater();
    template <class T> [[nodiscard]] RCPtr<T> Group(Group group) const
    {
        return RCPtr<T>(dynamic_cast<T*>(mGroups[group].Get()));
    }

    RCPtr<LNotificationHandler<LDeviceView>> mHandler;
    std::array<RCPtr<LControl>, kEditPanelCount> mEditPanels;
    std::array<RCPtr<LControl>, kGroupCount> mGroups;
    std::array<RCPtr<LButton>, kBankCount> mBankButtons;
    std::array<std::array<RCPtr<LControl>, kBankCount>, kBankedFamilyCount> mBanks;
};

} // namespace QZ
