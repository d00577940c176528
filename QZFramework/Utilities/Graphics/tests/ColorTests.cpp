#include "QZFramework/Utilities/Graphics/ColorRGBA.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace QZ
{
namespace
{

constexpr float kStep = 0.003921569f;
const ColorRGBA kStart(0.25f, 0.5f, 0.75f, 0.125f);

void ExpectColor(const ColorRGBA& c, float red, float green, float blue, float alpha)
{
    EXPECT_FLOAT_EQ(c.red, red);
    EXPECT_FLOAT_EQ(c.green, green);
    EXPECT_FLOAT_EQ(c.blue, blue);
    EXPECT_FLOAT_EQ(c.alpha, alpha);
}

ColorRGBA Parsed(const char* text)
{
    ColorRGBA c = kStart;
    c.ParseHex(text);
    return c;
}

TEST(ColorPacking, ArgbValueSplitsIntoChannelsFromTheHighByteDownAndSurvivesTheRoundTrip)
{
    ExpectColor(ColorRGBA(0x80FF4001u), 255 * kStep, 64 * kStep, 1 * kStep, 128 * kStep);
    ExpectColor(ColorRGBA(0u), 0, 0, 0, 0);
    for (std::uint32_t argb : {0x00000000u, 0xFFFFFFFFu, 0xC0123456u, 0x7F80FE01u, 0x01020304u})
    {
        EXPECT_EQ(ColorRGBA(argb).ToARGB(), argb);
    }
}

// Halves round away from zero; channels outside the range are limited.
TEST(ColorPacking, ToArgbRoundsHalvesAwayFromZeroAndLimitsChannels)
{
    EXPECT_EQ(ColorRGBA(1.0f, 0.5f, 0.0f, 1.0f).ToARGB(), 0xFFFF8000u);
    EXPECT_EQ(ColorRGBA(2.0f, -1.0f, NAN, 0.5f).ToARGB(), 0x80FF0000u);
    EXPECT_EQ(ColorRGBA(INFINITY, -INFINITY, 1.0f, 1.0f).ToARGB(), 0xFFFF00FFu);
}

// Parsed over (0.25, 0.5, 0.75, 0.125): two digits set alpha only, six red, green and blue, eight
// all four as alpha, red, green, blue. Text that is not hexadecimal gives zero for the channels
// it sets, and reading stops at the first character that is not a digit.
TEST(ColorHexText, DigitCountChoosesTheChannelsSet)
{
    const struct
    {
        const char* text;
        float red, green, blue, alpha;
    } cases[] = {
        {"FF", 0.25f, 0.5f, 0.75f, 1.0f},
        {"0x80", 0.25f, 0.5f, 0.75f, 128.0f / 255.0f},
        {"0x00FF00", 0.0f, 255 * kStep, 0.0f, 0.125f},
        {"ff00aa", 255 * kStep, 0.0f, 170 * kStep, 0.125f},
        {"0X80112233", 0x11 * kStep, 0x22 * kStep, 0x33 * kStep, 0x80 * kStep},
        {"GGHHII", 0.0f, 0.0f, 0.0f, 0.125f},
        {"zz", 0.25f, 0.5f, 0.75f, 0.0f},
        {" FFFFF", 0.0f, 0.0f, 0.0f, 0.125f},
        {"-FFFFFFF", 0.0f, 0.0f, 0.0f, 0.0f},
        // "12" is read and the rest ignored: the value 0x12 lands in the lowest channel.
        {"12ZZ56", 0.0f, 0.0f, 0x12 * kStep, 0.125f},
        {"0x0x1234", 0.0f, 0.0f, 0.0f, 0.125f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        ExpectColor(Parsed(c.text), c.red, c.green, c.blue, c.alpha);
    }
}

TEST(ColorHexText, OtherLengthsAndNullChangeNothing)
{
    for (const char* text : {"", "0x", "F", "FFF", "FFFFF", "1234567", "0x1234567", "123456789",
                             static_cast<const char*>(nullptr)})
    {
        SCOPED_TRACE(text == nullptr ? "null" : text);
        EXPECT_EQ(Parsed(text), kStart);
    }
}

} // namespace
} // namespace QZ
