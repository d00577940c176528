// The panel of the two pedals ("volumePedal" and "sustainPedal", parameters 7 and 8 of the device)
// and their container module. Unlike the other families each pedal has its own edit panel
// ("volumePedalEditPanel", "sustainEditPage" under the device view), both required: a click on a
// pedal shows its edit panel (pedal type, subtype 0 volume, 1 sustain) and binds it, each pedal's
// highlight follows whether its edit panel is on screen, and once the group is placed a pedal's
// values go through its edit panel while that panel is shown and bound, straight to its drawing
// otherwise. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPedals.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

namespace QZ
{

class LSustainPedalEditPanel;
class LSustainPedalPanel;
class LVolumePedalEditPanel;
class LVolumePedalPanel;

class LPedalGroupPanel : public LHandlingPanel<LPedalGroupPanel>, public IPedals
{
public:
    LPedalGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LPedalGroupPanel() override;

    // Finds both edit panels and both drawings with their buttons; a missing one throws the
    // runtime error "Null Pointer" ("volumeEditPanel not found", ...), a missing button the
    // failed-result exception.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // Places both drawings; the edit panels answer for their pedals only once that is over.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    [[nodiscard]] RCPtr<IVolumePedal> GetVolumePedal() override;
    [[nodiscard]] RCPtr<ISustainPedal> GetSustainPedal() override;
    // A value an edit panel passes up reaches its pedal's drawing: 0; E_FAIL for an identifier
    // neither edit panel is bound to.
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override;

    [[nodiscard]] const RCPtr<LVolumePedalPanel>& GetVolumePedalPanel() const
    {
        return mVolumeView;
    }
    [[nodiscard]] const RCPtr<LSustainPedalPanel>& GetSustainPedalPanel() const
    {
        return mSustainView;
    }

private:
    QZRESULT OnPedalClicked(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    QZRESULT OnEditPanelVisibilityChanged(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>& notification);
    // True when the edit panel is on screen and bound to a pedal of this group.
    [[nodiscard]] bool IsEditing(const LControl& editPanel,
                                 const LParameterizedModule& module) const;
    [[nodiscard]] RCPtr<LControl> GetClickable(const RCPtr<LControl>& view) const;

    RCPtr<LVolumePedalPanel> mVolumeView;
    RCPtr<LSustainPedalPanel> mSustainView;
    RCPtr<LVolumePedalEditPanel> mVolumeEdit;
    RCPtr<LSustainPedalEditPanel> mSustainEdit;
    bool mBound = false;
};

} // namespace QZ
