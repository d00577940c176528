// LWheels: the model's container of the wheels (offset 5: pitch wheel, modulation wheel).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/Wheel.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IWheels.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LWheels : public IWheels
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LWheels> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IWheel> GetWheel(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IWheel> GetWheel(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LWheels() = default;

private:
    QZ::RCPtrArray<LWheel, 1, 0> mWheels;
};
