// The identifier layout of a preset: which control type owns each of the 131 parameters, and the
// fixed byte size of every parameter value.
//
// A parameter number is a parameter identifier minus the root module's first identifier F (F is
// 0 in this system, so the number and the identifier coincide there). Every value is a tag-8
// byte string of exactly its type's size; the modules themselves store whatever they are given,
// so the places that take values from outside (System Exclusive dumps, preset files) check each
// value's length against GetPresetParamValueSize before it reaches the model.
#pragma once

#include <array>
#include <cstdint>

enum class ControlType : std::uint8_t
{
    PresetName,
    KeybedZone,
    Wheel,
    VolumePedal,
    SustainPedal,
    Pad,
    PushButton,
    Fader,
    Encoder,
    TouchPadAxis
};

// One control type's run of parameter numbers: firstNumber .. firstNumber + count - 1.
struct ControlTypeLayout
{
    ControlType type;
    std::int32_t firstNumber;
    std::uint32_t count;
    std::uint32_t valueSize;
};

inline constexpr std::uint32_t kPresetParamCount = 131;
// The sum of all 131 value sizes: the value area of a whole preset.
inline constexpr std::uint32_t kPresetValueBytes = 1338;

// Composite identifiers, which a leaf may translate into its own parameter; both ends included.
inline constexpr std::int32_t kFirstCompositeParamID = -256;
inline constexpr std::int32_t kLastCompositeParamID = -129;

// In identifier order; the runs are contiguous and cover 0 to 130 exactly.
inline constexpr std::array<ControlTypeLayout, 10> kControlTypeLayouts{{
    {ControlType::PresetName, 0, 1, 6},
    {ControlType::KeybedZone, 1, 4, 9},
    {ControlType::Wheel, 5, 2, 5},
    {ControlType::VolumePedal, 7, 1, 6},
    {ControlType::SustainPedal, 8, 1, 6},
    {ControlType::Pad, 9, 16, 14},
    {ControlType::PushButton, 25, 36, 17},
    {ControlType::Fader, 61, 36, 6},
    {ControlType::Encoder, 97, 32, 6},
    {ControlType::TouchPadAxis, 129, 2, 15},
}};

[[nodiscard]] constexpr const ControlTypeLayout& GetControlTypeLayout(ControlType type)
{
    return kControlTypeLayouts[static_cast<std::size_t>(type)];
}

[[nodiscard]] constexpr bool IsPresetParamNumber(std::int32_t paramNumber)
{
    return paramNumber >= 0 && static_cast<std::uint32_t>(paramNumber) < kPresetParamCount;
}

// The layout entry of the control type that owns paramNumber, or null for a number outside 0 to
// 130.
[[nodiscard]] constexpr const ControlTypeLayout* FindControlTypeLayout(std::int32_t paramNumber)
{
    for (const ControlTypeLayout& layout : kControlTypeLayouts)
    {
        if (paramNumber >= layout.firstNumber &&
            static_cast<std::uint32_t>(paramNumber - layout.firstNumber) < layout.count)
        {
            return &layout;
        }
    }
    return nullptr;
}

// The one table of fixed value sizes: the byte length that the value of parameter number
// paramNumber (identifier minus F) must have, or 0 for a number that names no preset parameter.
[[nodiscard]] constexpr std::uint32_t GetPresetParamValueSize(std::int32_t paramNumber)
{
    const ControlTypeLayout* layout = FindControlTypeLayout(paramNumber);
    return layout == nullptr ? 0 : layout->valueSize;
}

// The value size of a parameter named by its identifier under the first identifier F.
[[nodiscard]] constexpr std::uint32_t GetPresetParamValueSize(std::int32_t paramID,
                                                              std::int32_t firstParamID)
{
    const std::int64_t number = static_cast<std::int64_t>(paramID) - firstParamID;
    return number < 0 || number >= kPresetParamCount
               ? 0
               : GetPresetParamValueSize(static_cast<std::int32_t>(number));
}

namespace ParamLayoutChecks
{
constexpr bool RunsCoverThePreset()
{
    std::uint32_t next = 0;
    std::uint32_t bytes = 0;
    for (std::size_t i = 0; i < kControlTypeLayouts.size(); ++i)
    {
        const ControlTypeLayout& layout = kControlTypeLayouts[i];
        if (static_cast<std::size_t>(layout.type) != i ||
            layout.firstNumber != static_cast<std::int32_t>(next))
        {
            return false;
        }
        next += layout.count;
        bytes += layout.count * layout.valueSize;
    }
    return next == kPresetParamCount && bytes == kPresetValueBytes;
}
static_assert(RunsCoverThePreset());
} // namespace ParamLayoutChecks

[[nodiscard]] constexpr bool IsCompositeParamID(std::int32_t paramID)
{
    return paramID >= kFirstCompositeParamID && paramID <= kLastCompositeParamID;
}
