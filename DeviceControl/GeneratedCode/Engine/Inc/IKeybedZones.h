// IKeybedZones: the container of the keybed zones (offset 1, zones 0 to 3), as the model's
// LKeybedZones and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IKeybedZones : public IModuleListT<IKeybedZone, ControlType::KeybedZone>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) const
    {
        return const_cast<IKeybedZones*>(this)->GetKeybedZone(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IKeybedZone> GetChildAt(std::uint32_t index) override
    {
        return GetKeybedZone(index);
    }
};
