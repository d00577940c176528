// What a panel of the device drawing asks of the device view that holds the edit panels.
#pragma once

#include <cstdint>

namespace QZ
{

class IEditPanelHost
{
public:
    // The edit panel of the control type shows and the others hide. Control types: 0 fader,
    // 1 encoder, 2 pad, 3 XY pad axis, 4 wheel, 5 keybed zone, 6 push button, 7 pedal (subtype 0
    // volume, 1 sustain); the subtype matters only for the pedals.
    virtual void ShowEditPanel(std::int32_t controlType, std::int32_t subtype) = 0;

protected:
    ~IEditPanelHost() = default;
};

inline constexpr std::int32_t kFaderControlType = 0;
inline constexpr std::int32_t kEncoderControlType = 1;
inline constexpr std::int32_t kPadControlType = 2;
inline constexpr std::int32_t kXYPadControlType = 3;
inline constexpr std::int32_t kWheelControlType = 4;
inline constexpr std::int32_t kKeybedZoneControlType = 5;
inline constexpr std::int32_t kPushButtonControlType = 6;
inline constexpr std::int32_t kPedalControlType = 7;

} // namespace QZ
