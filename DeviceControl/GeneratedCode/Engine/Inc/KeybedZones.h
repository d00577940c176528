// LKeybedZones: the model's container of the keybed zones (offset 1, zones 0 to 3).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZone.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZones.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LKeybedZones : public IKeybedZones
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LKeybedZones> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LKeybedZones() = default;

private:
    QZ::RCPtrArray<LKeybedZone, 1, 0> mKeybedZones;
};
