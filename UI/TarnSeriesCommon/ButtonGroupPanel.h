// The panel of the 36 drawn push buttons ("buttonBank1" to "buttonBank4", "button1" to "button9"
// each) and the device-model container of their modules.
//
// A click on a drawn button selects it: that button lights, the others go dark, the device view
// shows the button edit panel and the edit panel is bound to the button. While a button is
// selected the edit panel answers for its parameter (values from the device tree reach the edit
// panel, which passes them back up here to the drawn button); every other identifier reaches its
// drawn button. Placing the container always places the drawn buttons. User-interface thread
// only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButtons.h"
#include "QZFramework/Controls/Panel.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LButtonEditPanel;
class LButtonPanel;

class LButtonGroupPanel : public LPanel, public IPushButtons
{
public:
    LButtonGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LButtonGroupPanel() override;

    // Finds the edit panel (root / "viewDevice" / "buttonEditPanel") and the 36 drawn buttons;
    // a missing edit panel throws the runtime error "Null Pointer : buttonEditPanel knob found", a
    // missing button or its clickable "button" a FailedResultException after the others were
    // subscribed.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // The selected button's module is the edit panel; null past the 36 buttons.
    [[nodiscard]] RCPtr<IPushButton> GetPushButton(std::uint32_t index) override;
    // A value the edit panel passes up reaches the selected drawn button only. 0.
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override;

    // The selected button's index, -1 when none is.
    [[nodiscard]] std::int32_t GetSelectedIndex() const { return mSelected; }
    [[nodiscard]] const std::vector<RCPtr<LButtonPanel>>& GetButtonPanels() const
    {
        return mButtons;
    }

private:
    QZRESULT OnButtonClick(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);
    QZRESULT OnEditPanelVisibilityChange(const RCPtr<LNotificationDistributor>& sender,
                                         const RCPtr<LNotification>& notification);
    void Listen(const RCPtr<LNotificationDistributor>& distributor, const char16_t* identifier,
                QZRESULT (LButtonGroupPanel::*method)(const RCPtr<LNotificationDistributor>&,
                                                      const RCPtr<LNotification>&));
    void Select(std::uint32_t index);
    [[nodiscard]] RCPtr<LControl> GetClickable(std::size_t index) const;

    RCPtr<LNotificationHandler<LButtonGroupPanel>> mHandler;
    std::vector<RCPtr<LButtonPanel>> mButtons;
    RCPtr<LButtonEditPanel> mEditPanel;
    std::int32_t mSelected = -1;
};

} // namespace QZ
