// LPads: the model's container of the pads (offset 9, pads 0 to 15).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/Pad.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPads.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LPads : public IPads
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LPads> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IPad> GetPad(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IPad> GetPad(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LPads() = default;

private:
    QZ::RCPtrArray<LPad, 1, 0> mPads;
};
