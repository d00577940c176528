// IFaders: the container of the faders (offset 61, faders 0 to 35), as the model's LFaders and the
// editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IFader.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IFaders : public IModuleListT<IFader, ControlType::Fader>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IFader> GetFader(std::uint32_t index) const
    {
        return const_cast<IFaders*>(this)->GetFader(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IFader> GetFader(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IFader> GetChildAt(std::uint32_t index) override
    {
        return GetFader(index);
    }
};
