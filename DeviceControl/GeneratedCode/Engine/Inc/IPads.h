// IPads: the container of the pads (offset 9, pads 0 to 15), as the model's LPads and the
// editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPad.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IPads : public IModuleListT<IPad, ControlType::Pad>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IPad> GetPad(std::uint32_t index) const
    {
        return const_cast<IPads*>(this)->GetPad(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IPad> GetPad(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IPad> GetChildAt(std::uint32_t index) override { return GetPad(index); }
};
