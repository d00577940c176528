// The preset a new keyboard holds in every slot: the device model's default value of each of the
// 131 parameters, one after another in identifier order (1,338 bytes).
#pragma once

#include <array>
#include <cstdint>

namespace Tarn61
{

std::array<std::uint8_t, 1338> MakeDefaultPreset();

} // namespace Tarn61
