#include "QZFramework/Utilities/Graphics/ColorRGBA.h"

#include <cmath>
#include <cstring>

namespace QZ
{
namespace
{

constexpr float kChannelScale = 0.003921569f;

float Channel(std::uint32_t argb, int shift)
{
    return static_cast<float>((argb >> shift) & 0xFFu) * kChannelScale;
}

std::uint32_t PackChannel(float value, int shift)
{
    const double scaled = std::round(static_cast<double>(value) * 255.0);
    const std::uint32_t byte = scaled >= 255.0 ? 255u
                               : scaled > 0.0  ? static_cast<std::uint32_t>(scaled)
                                               : 0u;
    return byte << shift;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of the leading hexadecimal digits of a text of the given length (at most eight).
std::uint32_t ReadHex(const char* text, std::size_t length)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
    {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
        {
            break;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

} // namespace

ColorRGBA::ColorRGBA(std::uint32_t argb)
    : red(Channel(argb, 16)), green(Channel(argb, 8)), blue(Channel(argb, 0)),
      alpha(Channel(argb, 24))
{
}

void ColorRGBA::ParseHex(const char* text)
{
    if (text == nullptr)
    {
        return;
    }
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    {
        text += 2;
    }
    const std::size_t length = std::strlen(text);
    const std::uint32_t value = ReadHex(text, length <= 8 ? length : 0);
    switch (length)
    {
    case 2:
        alpha = static_cast<float>(value & 0xFFu) / 255.0f;
        break;
    case 6:
        red = Channel(value, 16);
        green = Channel(value, 8);
        blue = Channel(value, 0);
        break;
    case 8:
        *this = ColorRGBA(value);
        break;
    default:
        break;
    }
}

std::uint32_t ColorRGBA::ToARGB() const
{
    return PackChannel(alpha, 24) | PackChannel(red, 16) | PackChannel(green, 8) |
           PackChannel(blue, 0);
}

} // namespace QZ
