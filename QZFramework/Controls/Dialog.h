// A scroll view shown in a window of its own and run modally. It knows eight standard buttons by
// their skin names; a click on one ends the dialog with its result (the OK and Close buttons take
// the focus first, so that a text field commits its value, and end nothing when they cannot).
// Before it closes it asks its listeners through "NID_DIALOG_CLOSING" (an LCancelArgs that any of
// them may set to keep it open); once closed it sends "NID_DIALOG_CLOSED".
//
// Keys that no child uses reach the dialog: Escape cancels it (as the Cancel button would),
// Enter presses its default button, the child named by the create param "DEFAULT_BUTTON", else
// "buttonOK". User-interface thread only.
#pragma once

#include "QZFramework/Controls/CancelArgs.h"
#include "QZFramework/Controls/ScrollView.h"

#include <cstdint>

namespace QZ
{

class LButton;

class LDialog : public LScrollView
{
public:
    // Results of the standard buttons.
    static constexpr std::int32_t kResultOK = 1;
    static constexpr std::int32_t kResultCancel = 2;
    static constexpr std::int32_t kResultAbort = 3;
    static constexpr std::int32_t kResultRetry = 4;
    static constexpr std::int32_t kResultIgnore = 5;
    static constexpr std::int32_t kResultYes = 6;
    static constexpr std::int32_t kResultNo = 7;

    LDialog(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LDialog() override;

    // The scroll view's, then listens to the clicks of the standard buttons it has.
    QZRESULT Initialize() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Escape and Enter as described above; other keys as the scroll view takes them.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    QZRESULT ProcessKey(const RCPtr<LKeyParam>& key) override;

    // Runs the dialog through the application's modal run and answers its result; E_FAIL when
    // the application offers no modal run.
    virtual std::int32_t DoModal();
    // Runs after the dialog has closed.
    virtual void OnDialogClosed() {}
    // Stores the result and, unless a listener cancels, ends the modal run with it, sends
    // "NID_DIALOG_CLOSED" and runs OnDialogClosed.
    void EndDialog(std::int32_t result);
    // Sends "NID_DIALOG_CLOSING"; the arguments after every listener ran.
    RCPtr<LCancelArgs> SendClosing();
    [[nodiscard]] std::int32_t GetResult() const { return mResult; }
    // Handler of a standard button's "NID_LEFT_CLICK". 1.
    QZRESULT OnButtonClick(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);

    // The button Enter presses, or null when the dialog has none showing and enabled.
    [[nodiscard]] RCPtr<LButton> GetDefaultButton() const;

private:
    // True when the key was Escape or Enter and the dialog acted on it.
    bool HandleDialogKey(const RCPtr<LKeyParam>& key);

    RCPtr<LNotificationHandler<LDialog>> mDialogHandler;
    std::int32_t mResult = 0;
};

} // namespace QZ
