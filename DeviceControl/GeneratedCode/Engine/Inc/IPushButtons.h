// IPushButtons: the container of the push buttons (offset 25, buttons 0 to 35), as the model's
// LPushButtons and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButton.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IPushButtons : public IModuleListT<IPushButton, ControlType::PushButton>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IPushButton> GetPushButton(std::uint32_t index) const
    {
        return const_cast<IPushButtons*>(this)->GetPushButton(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IPushButton> GetPushButton(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IPushButton> GetChildAt(std::uint32_t index) override
    {
        return GetPushButton(index);
    }
};
