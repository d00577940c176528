// LPresetTransferDlg: what the two preset transfer dialogs share. Each shows the slot list
// "presetSlot" (its combo box lists "RAM" and the slots 1 to 12; "RAM" is chosen when the dialog
// opens) and one button; a click moves one whole preset between the editor's engine and the
// chosen slot of the keyboard through the application's MIDI manager, with the dialog busy
// meanwhile (see LDeviceExchange), and then shows the outcome in a message box.
//
// A slot outside 0 to 12 (nothing chosen, no slot list) is refused with an error box before
// anything is sent. Every negative result of the manager shows an error box under the dialog's
// own error caption: the firmware text for a keyboard whose firmware is too old, the connection
// text for every other failure; only a result of 0 or above shows the success box.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/Dialog.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LButton;
class LMidiManager;

class LPresetTransferDlg : public LDialog
{
public:
    static constexpr std::int32_t kLastSlot = 12;

    // The string keys of one dialog's outcomes.
    struct Texts
    {
        const char16_t* successCaption;
        const char16_t* successText;
        const char16_t* errorCaption;
        const char16_t* connectionText;
        const char16_t* firmwareText;
    };
    // The message box of one outcome.
    struct Message
    {
        const char16_t* text;
        const char16_t* caption;
        bool error;
    };
    // The box that a result of the manager brings.
    [[nodiscard]] static Message GetResultMessage(const Texts& texts, std::int32_t result);

    ~LPresetTransferDlg() override;

    // The dialog's own, then finds the button (a missing one throws the runtime error "Null
    // Pointer : Cannot find child <button>"), listens to its clicks and chooses "RAM".
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // The slot chosen in "presetSlot"; -1 when nothing is chosen or the list is missing.
    [[nodiscard]] std::int32_t GetSelectedSlot() const;
    // Moves the preset for the slot and shows the outcome; the manager's result, E_INVALIDARG for
    // a refused slot.
    std::int32_t TransferSlot(std::int32_t slot);

protected:
    LPresetTransferDlg(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived,
                       const char16_t* buttonName, const char* initializeMethod,
                       const char* missingButton, const Texts& texts);

    // The click on the dialog's button; 1.
    QZRESULT OnButtonClicked(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    // The manager's transfer for the slot; called on a worker thread.
    virtual std::int32_t Transfer(LMidiManager& manager, std::uint8_t slot) = 0;

private:
    const char16_t* const mButtonName;
    const char* const mInitializeMethod;
    const char* const mMissingButton;
    const Texts mTexts;
    RCPtr<LNotificationHandler<LPresetTransferDlg>> mHandler;
    RCPtr<LButton> mButton;
    bool mBusy = false;
};

} // namespace QZ
