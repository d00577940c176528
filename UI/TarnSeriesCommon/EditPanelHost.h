// What a panel of the device drawing asks of the device view that holds the edit panels.
#pragma once

#include <cstdint>

namespace QZ
{

class IEditPanelHost
{
public:
    // The edit panel of the control type shows and the others hide; the index matters only for
    // the types that share one edit panel between several drawings.
    virtual void ShowEditPanel(std::int32_t controlType, std::uint32_t index) = 0;

protected:
    ~IEditPanelHost() = default;
};

// The control type of the push buttons.
inline constexpr std::int32_t kPushButtonControlType = 6;

} // namespace QZ
