// One line of status text, shown in the child label "label1".
//
// Texts are either shown at once (SetTextNow) or posted (PostText) into the bar's own
// notification queue, which the bar delivers to itself on every idle step of its window; the last
// text delivered stays. Posting is the one operation that any thread may call: that is how a
// worker's status reaches the screen. Everything else runs on the user-interface thread.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/Notification/NotificationQueue.h"

namespace QZ
{

class LLabel;

class LStatusBar : public LControl, public LNotificationQueue
{
public:
    LStatusBar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LStatusBar() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Empties the queue and cuts it from the bar before the control's own release.
    QZRESULT ReleaseInternalReferences() override;

    // Subscribes the bar to its own queued "NID_SET_STATUS_TEXT", asks for idle steps and finds
    // the label; a runtime error when the skin gives no "label1".
    QZRESULT Initialize() override;
    // The bar never takes the keyboard focus.
    QZRESULT ApplyCreateParams() override;
    QZRESULT PostInitialize() override;
    // Delivers every text posted before this step, in order.
    void OnIdleStep() override;

    // Queues the text for the next idle step; the queue's result (E_FAIL before Initialize).
    QZRESULT PostText(const WideString& text);
    // Delivers what is queued, then shows the text and repaints the window at once. 0.
    QZRESULT SetTextNow(const WideString& text);
    // The label's idle text: its "LABEL" string.
    void GetLabelText(WideString& text) const;

    [[nodiscard]] const RCPtr<LLabel>& GetLabel() const { return mLabel; }
    [[nodiscard]] double GetInitialHeight() const { return mInitialHeight; }

private:
    QZRESULT OnSetStatusText(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LStatusBar>> mHandler;
    RCPtr<LLabel> mLabel;
    double mInitialHeight = 0.0;
};

} // namespace QZ
