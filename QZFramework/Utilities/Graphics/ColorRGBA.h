// A colour of four floats, red, green, blue and alpha, each nominally in 0..1, with its packed
// 0xAARRGGBB form and the hexadecimal text form that skins use.
#pragma once

#include <cstdint>

namespace QZ
{

class ColorRGBA
{
public:
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;

    constexpr ColorRGBA() = default;
    constexpr ColorRGBA(float r, float g, float b, float a) : red(r), green(g), blue(b), alpha(a) {}
    // From a packed 0xAARRGGBB value, each channel scaled by 1/255.
    explicit ColorRGBA(std::uint32_t argb);

    friend constexpr bool operator==(const ColorRGBA&, const ColorRGBA&) = default;

    // Sets channels from hexadecimal text, after an optional "0x" or "0X": two digits set alpha
    // only, six set red, green and blue (RRGGBB), eight set all four (AARRGGBB). Any other length,
    // and a null text, change nothing. Reading stops at the first character that is not a
    // hexadecimal digit, and the channels to set take the value of the digits before it (0 when
    // there are none).
    void ParseHex(const char* text);

    // Each channel times 255, rounded half away from zero and limited to 0..255 (not-a-number
    // gives 0), packed as 0xAARRGGBB.
    [[nodiscard]] std::uint32_t ToARGB() const;
};

} // namespace QZ
