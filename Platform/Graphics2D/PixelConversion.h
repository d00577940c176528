// Conversions between straight and premultiplied 32-bit ARGB pixels.
//
// Images of the program hold straight colour (as GDI+ bitmaps do); Cairo draws with colour
// multiplied by alpha. Both directions round to the nearest value, so a straight pixel that is
// premultiplied and converted back may differ by rounding where alpha is below 255, and a fully
// transparent pixel loses its colour; the image keeps its straight pixels as the master copy for
// that reason (Image.h).
#pragma once

#include <cstdint>

namespace QZ::Graphics2D
{

[[nodiscard]] constexpr std::uint32_t Premultiply(std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    if (a == 255)
    {
        return argb;
    }
    if (a == 0)
    {
        return 0;
    }
    // c * a / 255 is never exactly half-way (255 is odd), so adding 127 rounds to nearest.
    const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

[[nodiscard]] constexpr std::uint32_t Unpremultiply(std::uint32_t pargb)
{
    const std::uint32_t a = pargb >> 24;
    if (a == 255)
    {
        return pargb;
    }
    if (a == 0)
    {
        return 0;
    }
    const auto scale = [a](std::uint32_t c)
    {
        const std::uint32_t value = (c * 255 + a / 2) / a;
        return value > 255 ? 255u : value;
    };
    return (a << 24) | (scale((pargb >> 16) & 0xFF) << 16) | (scale((pargb >> 8) & 0xFF) << 8) |
           scale(pargb & 0xFF);
}

} // namespace QZ::Graphics2D
