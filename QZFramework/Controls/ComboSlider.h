// A drop-down control that shows its value as text and opens a panel with a slider under itself.
//
// The skin gives the panel as the child "dropDownPanel" and the slider as the panel's child
// "slider". Dragging the slider sets the combo slider's value; setting the value moves the slider
// (which waits for the end of a drag) and shows the user value of the combo slider's own range
// as whole units ("%0.0f"). When opened, the panel keeps its skin position unless that would put
// it past the window's right edge, in which case it moves left as far as needed, never past the
// window's left edge.
//
// Looks: 0 normal, 1 focused, 2 hovered, 3 hovered and focused, 4 open, 5 open and hovered,
// 6 disabled. User-interface thread only.
#pragma once

#include "QZFramework/Controls/DropDownControl.h"

namespace QZ
{

class LComboSlider : public LDropDownControl
{
public:
    LComboSlider(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LComboSlider() override;

    // The combo slider's own handler first, then the drop-down base's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Finds the panel (hidden until opened) and listens to its slider. E_FAIL when the base
    // fails.
    QZRESULT Initialize() override;
    // The slider first, then the combo slider's own value; the value now held.
    double SetValue(double position) override;
    // The panel exists, is shown and has an area.
    [[nodiscard]] bool IsDroppedDown() const override;
    // E_FAIL without a panel, else 0.
    QZRESULT ShowDropDown(bool show) override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;

    [[nodiscard]] const RCPtr<LControl>& GetSlider() const { return mSlider; }

protected:
    void OnValueChanged() override;

private:
    QZRESULT OnSliderValueChange(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LComboSlider>> mHandler;
    RCPtr<LControl> mSlider;
};

} // namespace QZ
