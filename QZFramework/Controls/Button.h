// The push button of every panel and dialog, and the thumb and arrows of scroll bars.
//
// A click sends "NID_LEFT_CLICK"; with automatic value setting ("AUTO_VALUE_SET" = "true") it
// first toggles the value between 0.0 and 1.0. The value shows as lit (1.0) or unlit. With
// auto-repeat on, holding the button sends "NID_BUTTON_AUTOREPEAT" at the press, again after the
// first delay and then at every interval, on the window's idle steps; a "NID_SIMULATE_CLICK"
// handed to the button (with or without sender) sends one. The button chooses its look from its
// state: 0 normal, 1 hover, 2 pressed, 3 disabled, and 4 to 7 the same while lit; a state the
// skin gives no look for shows the unlit one, else look 0. Look 8, when the skin gives it, is laid
// over the state's look while the button has the keyboard focus. A focused button is pressed by
// Space and by Enter as by a click. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LButton : public LControl
{
public:
    // Milliseconds from the press to the first repeat, and between later repeats.
    static constexpr std::uint32_t kRepeatDelayMs = 400;
    static constexpr std::uint32_t kRepeatIntervalMs = 80;

    // Look indices; the lit looks follow at kLitLookOffset.
    enum Look : std::uint32_t
    {
        kLookNormal = 0,
        kLookHover = 1,
        kLookPressed = 2,
        kLookDisabled = 3,
        kLitLookOffset = 4,
        kLookFocus = 8
    };

    LButton(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LButton() override;

    // The button's own handler first (a simulated click may come without sender), then the
    // control's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    QZRESULT Initialize() override;
    // Also "AUTO_VALUE_SET".
    QZRESULT ApplyCreateParams() override;
    // Space and Enter click the button.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    // Clicks the button as the pointer would at its middle.
    void Press();

    // Switching it either way stops a repeat that is running.
    void SetAutoRepeat(bool on);
    [[nodiscard]] bool IsAutoRepeat() const { return mAutoRepeat; }
    [[nodiscard]] bool IsRepeating() const { return mRepeating; }
    void SetAutoValueSet(bool on) { mAutoValueSet = on; }
    [[nodiscard]] bool IsAutoValueSet() const { return mAutoValueSet; }
    // A drag handle keeps its pressed look for a whole drag, also off the button.
    void SetDragHandle(bool on);
    [[nodiscard]] bool IsDragHandle() const { return mDragHandle; }
    // While set, the owner chooses the button's look.
    void SetLookUpdateSuppressed(bool on) { mLookUpdateSuppressed = on; }
    [[nodiscard]] bool IsLookUpdateSuppressed() const { return mLookUpdateSuppressed; }
    [[nodiscard]] bool IsLit() const { return GetValue() >= 0.5; }
    // Shows the look of the button's state.
    virtual void UpdateLook();
    // The look index UpdateLook shows, before the fallback to the looks the skin has.
    [[nodiscard]] std::uint32_t GetStateLook() const;

protected:
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    void OnValueChanged() override;
    void OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press) override;
    void OnLeftClick(const RCPtr<LMouseButtonParam>& click) override;
    void OnIdleStep() override;

private:
    QZRESULT OnSimulateClick(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    [[nodiscard]] bool IsHeld() const;
    void StartRepeat();
    void StopRepeat();
    void SendRepeat();

    RCPtr<LNotificationHandler<LButton>> mHandler;
    RCPtr<LMouseButtonParam> mPress;
    bool mAutoValueSet = false;
    bool mAutoRepeat = false;
    bool mRepeating = false;
    bool mDragHandle = false;
    bool mLookUpdateSuppressed = false;
    std::uint32_t mNextRepeat = 0;
};

} // namespace QZ
