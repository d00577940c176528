// ITouchPadAxises: the container of the touch-pad axes (offset 129: X, then Y), as the model's
// LTouchPadAxises and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxis.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class ITouchPadAxises : public IModuleListT<ITouchPadAxis, ControlType::TouchPadAxis>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<ITouchPadAxis> GetTouchPadAxis(std::uint32_t index) const
    {
        return const_cast<ITouchPadAxises*>(this)->GetTouchPadAxis(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<ITouchPadAxis> GetTouchPadAxis(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<ITouchPadAxis> GetChildAt(std::uint32_t index) override
    {
        return GetTouchPadAxis(index);
    }
};
