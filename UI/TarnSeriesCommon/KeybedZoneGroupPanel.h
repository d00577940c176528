// The panel of the four drawn keybed zones ("zone1" to "zone4") and the device-model container of
// their modules.
//
// A click on a zone's "button" selects it: that zone lights, the others go dark, the edit panel
// is bound to the zone and the device view shows it. While a zone is selected the edit panel
// answers for its parameter (values from the device tree reach the edit panel, which passes them
// back up here to the drawn zone); every other identifier reaches its drawn zone. Placing the
// container always places the drawn zones. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZones.h"
#include "QZFramework/Controls/Panel.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LKeybedZoneEditPanel;
class LKeybedZonePanel;

class LKeybedZoneGroupPanel : public LPanel, public IKeybedZones
{
public:
    LKeybedZoneGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LKeybedZoneGroupPanel() override;

    // Finds the edit panel (root / "viewDevice" / "zoneEditPanel"; missing: the runtime error
    // "Null Pointer : zoneEditPanel not found") and the four zones; a missing zone or its
    // "button" throws a FailedResultException after the zones before it were subscribed.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // The selected zone's module is the edit panel; null past the four zones.
    [[nodiscard]] RCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) override;
    // A value the edit panel passes up reaches the selected drawn zone only. 0.
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override;

    // The selected zone's index, -1 when none is.
    [[nodiscard]] std::int32_t GetSelectedIndex() const { return mSelected; }
    [[nodiscard]] const std::vector<RCPtr<LKeybedZonePanel>>& GetZonePanels() const
    {
        return mZones;
    }

private:
    using Method = QZRESULT (LKeybedZoneGroupPanel::*)(const RCPtr<LNotificationDistributor>&,
                                                       const RCPtr<LNotification>&);
    void Listen(LControl* control, const char16_t* identifier, Method method);
    [[nodiscard]] RCPtr<LControl> GetClickable(std::size_t index) const;
    void Select(std::uint32_t index);
    QZRESULT OnZoneButtonClicked(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    QZRESULT OnEditPanelVisibilityChanged(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LKeybedZoneGroupPanel>> mHandler;
    std::vector<RCPtr<LKeybedZonePanel>> mZones;
    RCPtr<LKeybedZoneEditPanel> mEditPanel;
    std::int32_t mSelected = -1;
};

} // namespace QZ
