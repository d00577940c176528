// LTouchPadAxises: the model's container of the touch-pad axes (offset 129: X, then Y).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxis.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxises.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LTouchPadAxises : public ITouchPadAxises
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LTouchPadAxises> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<ITouchPadAxis> GetTouchPadAxis(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<ITouchPadAxis> GetTouchPadAxis(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LTouchPadAxises() = default;

private:
    QZ::RCPtrArray<LTouchPadAxis, 1, 0> mTouchPadAxises;
};
