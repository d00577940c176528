// LPushButtons: the model's container of the push buttons (offset 25, buttons 0 to 35).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/PushButton.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButtons.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LPushButtons : public IPushButtons
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LPushButtons> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IPushButton> GetPushButton(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IPushButton> GetPushButton(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LPushButtons() = default;

private:
    QZ::RCPtrArray<LPushButton, 1, 0> mPushButtons;
};
