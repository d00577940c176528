// The base of the controls that drop a part down below themselves (the combo box's list, the
// combo slider's panel, the combo menu's popup): the derived class says whether the drop-down is
// open and opens or closes it; this class decides when.
//
// A left press on the closed control opens the drop-down ("NID_DROPDOWN_OPENING" goes out
// first). So do Space, Alt+Down and F4 on the focused closed control. It closes again on a press
// on the open control itself, on Escape, and when neither the control nor the drop-down has or
// contains the focus any more. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

namespace QZ
{

class LDropDownControl : public LControl
{
public:
    LDropDownControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LDropDownControl() override;

    // The drop-down base's handler first, then the control's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ReleaseInternalReferences() override;
    // The base, then the handler, which listens to the control's own presses. A negative result
    // when the base fails.
    QZRESULT Initialize() override;
    // A left press just made opens the drop-down, unless the press was to close it; losing the
    // focus to a control outside both closes it.
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    // Escape closes an open drop-down; Space, Alt+Down and F4 open a closed one.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    // Escape that the drop-down did not use closes it.
    QZRESULT ProcessKey(const RCPtr<LKeyParam>& key) override;

    [[nodiscard]] virtual bool IsDroppedDown() const = 0;
    virtual QZRESULT ShowDropDown(bool show) = 0;
    // Sends "NID_DROPDOWN_OPENING", then ShowDropDown(true).
    QZRESULT OpenDropDown();
    [[nodiscard]] const RCPtr<LControl>& GetDropDown() const { return mDropDown; }

protected:
    void SetDropDown(const RCPtr<LControl>& dropDown) { mDropDown = dropDown; }
    // True while the drop-down or the control has or contains the focus.
    [[nodiscard]] bool HoldsFocus() const;

private:
    QZRESULT OnMouseDownNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification);
    [[nodiscard]] static bool IsEscape(const RCPtr<LKeyParam>& key);
    [[nodiscard]] static bool IsOpeningKey(const RCPtr<LKeyParam>& key);

    RCPtr<LNotificationHandler<LDropDownControl>> mDropDownHandler;
    RCPtr<LControl> mDropDown;
    // Set by a press that closed the drop-down, so that the same press does not open it again.
    bool mIgnoreOnePress = false;
};

} // namespace QZ
