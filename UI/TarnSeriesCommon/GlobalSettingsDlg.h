// LGlobalSettingsDlg: the dialog of the keyboard's global settings ("Get Settings",
// "Send Settings").
//
// Thirteen of the keyboard's sixteen global settings have a control here (the three XY pad
// settings have none and never travel); the controls are the only store of the values. Each
// setting travels in its own exchange through the application's MIDI manager, in the manager's
// wire order, the first exchange of a run with the manager's firmware test and the others without.
//
// Values: a combo box shows item (device value - offset) and sends (selected index + offset), the
// offset being 1 for the channel and 0 elsewhere; a numeric control shows (device value - offset)
// limited to its range and sends its value + offset. The key octave is held to -3 .. +3.
//
// Threads: the manager announces each fetched value on its MIDI thread while the exchange is under
// way; the dialog only records it there (under the inbox's lock) and writes its controls on the
// user-interface thread once the exchange has returned. The exchanges run under an LDeviceExchange,
// which keeps the window painted and the dialog disabled.
//
// Results: the first failing exchange ends the run with one error box under the dialog's caption:
// the firmware text when the keyboard's firmware is too old, the connection text for every other
// failure (no keyboard, no reply, a value the manager refuses). Send is offered only once every
// value is one the keyboard accepts, or after a complete Get; a combo box showing nothing is never
// sent, and one showing a received value its list has no item for ("? (0)") sends that value back
// unchanged until the user picks an item. User-interface thread only, apart from the inbox.
#pragma once

#include "QZFramework/Controls/Dialog.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <array>
#include <cstdint>
#include <optional>

namespace QZ
{

class LButton;
class LComboBox;
class LMidiManager;
class LNumericUpDown;
class LGlobalParameterInbox;

class LGlobalSettingsDlg : public LDialog
{
public:
    LGlobalSettingsDlg(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LGlobalSettingsDlg() override;

    // The dialog's own, then finds its children (a missing one throws the runtime error
    // "Null Pointer : Could not find child ..."), ranges and subscribes them, and takes the
    // application's MIDI manager ("Could not find MidiManager" without one).
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Button handlers and the key octave's hold; each returns 1.
    virtual QZRESULT OnSendSettingsClicked(const RCPtr<LNotificationDistributor>& sender,
                                           const RCPtr<LNotification>& notification);
    virtual QZRESULT OnGetSettingsClicked(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>& notification);
    virtual QZRESULT OnKeyOctaveChanged(const RCPtr<LNotificationDistributor>& sender,
                                        const RCPtr<LNotification>& notification);

    // Writes the values recorded since the last call into their controls; names without a
    // control are ignored.
    void ApplyReceivedParameters();
    // Whether "Send Settings" may send now.
    [[nodiscard]] bool CanSend() const;

private:
    // One setting with a control: the combo box or the numeric control that shows it.
    struct Setting
    {
        const char16_t* name;
        const char16_t* child;
        RCPtr<LComboBox> LGlobalSettingsDlg::*combo;
        RCPtr<LNumericUpDown> LGlobalSettingsDlg::*number;
        std::int32_t offset;
        bool ranged;
        double minimum;
        double maximum;
        const char* missing;
        const char* missingInner;
    };
    // The thirteen settings, in the order Initialize finds them.
    static const std::array<Setting, 13>& GetSettings();
    static const Setting* FindSetting(const WideString& name);
    // The setting's place in GetSettings.
    static std::size_t SettingIndex(const Setting& setting);

    QZRESULT OnSettingEdited(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    void BindSetting(const Setting& setting);
    void Listen(QZRESULT (LGlobalSettingsDlg::*method)(const RCPtr<LNotificationDistributor>&,
                                                       const RCPtr<LNotification>&),
                LNotificationDistributor* distributor, const char16_t* identifier);
    // The value the keyboard would get from the setting's control: a combo box without a
    // selection gives the value it was last shown that its list has no item for, else none.
    [[nodiscard]] std::optional<std::int32_t> ReadSetting(const Setting& setting) const;
    void ShowSetting(const Setting& setting, std::int32_t deviceValue);
    void UpdateSendButton();
    void ShowFailure(std::int32_t result) const;

    RCPtr<LNotificationHandler<LGlobalSettingsDlg>> mHandler;
    RCPtr<LComboBox> mControlCurve;
    RCPtr<LNumericUpDown> mKeyOctave;
    RCPtr<LComboBox> mKeySensitivity;
    RCPtr<LNumericUpDown> mKeyTranspose;
    RCPtr<LNumericUpDown> mBankLsb;
    RCPtr<LNumericUpDown> mBankMsb;
    RCPtr<LComboBox> mMackieHui;
    RCPtr<LComboBox> mGlobalChannel;
    RCPtr<LNumericUpDown> mPadOctave;
    RCPtr<LComboBox> mPadSensitivity;
    RCPtr<LNumericUpDown> mPadTranspose;
    RCPtr<LNumericUpDown> mGlobalProgram;
    RCPtr<LComboBox> mXyPadSensitivity;
    RCPtr<LButton> mGetButton;
    RCPtr<LButton> mSendButton;
    RCPtr<LMidiManager> mMidiManager;
    RCPtr<LGlobalParameterInbox> mInbox;
    // Per setting (GetSettings order), a received value that its combo box has no item for.
    std::array<std::optional<std::int32_t>, 13> mUnlisted{};
    // Set once a Get has fetched every setting.
    bool mFetched = false;
    bool mBusy = false;
};

} // namespace QZ
