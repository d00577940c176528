#include "QZFramework/Renderer/FontRenderer/AtlasGlyphProcessor.h"
#include "QZFramework/Renderer/FontRenderer/GlyphAtlas.h"
#include "QZFramework/Renderer/FontRenderer/PixelBuffer.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <tuple>

#include <vector>

using namespace QZ;

namespace
{

using Pixels = LPixelBuffer<unsigned char>;

// A bitmap whose every pixel is non-zero and tells its position.
RCPtr<Pixels> Pattern(std::uint32_t width, std::uint32_t height)
{
    RCPtr<Pixels> bitmap = Pixels::Create(width, height, 0, nullptr);
    for (std::uint32_t y = 0; y < height; ++y)
    {
        for (std::uint32_t x = 0; x < width; ++x)
        {
            *bitmap->GetPixelAddress(x, y) = static_cast<unsigned char>(1 + (x + 3 * y) % 250);
        }
    }
    return bitmap;
}

LGlyphProcessor::SCachedGlyph Glyph(std::int32_t character)
{
    LGlyphProcessor::SCachedGlyph glyph;
    glyph.character = character;
    return glyph;
}

} // namespace

TEST(PixelBuffer, StridesAddressesAndHeightChangesStayInsideTheStorage)
{
    const unsigned char data[] = {1, 2, 3, 4, 5, 6};
    RCPtr<Pixels> copied = Pixels::Create(2, 2, 3, data);
    EXPECT_EQ(copied->GetStride(), 3);
    EXPECT_EQ(*copied->GetPixelAddress(1, 1), 5);
    EXPECT_EQ(copied->GetPixelAddress(2, 1), copied->GetPixelAddress(0, 0) + 5);
    EXPECT_EQ(copied->GetPixelAddress(0, 2), nullptr);
    EXPECT_EQ(copied->GetPixelAddress(0xFFFFFFFFu, 0xFFFFFFFFu), nullptr);

    RCPtr<Pixels> zeroed = Pixels::Create(17, 2, 0, nullptr);
    EXPECT_EQ(zeroed->GetStride(), 32);
    *zeroed->GetPixelAddress(16, 1) = 9;
    ASSERT_EQ(zeroed->SetHeight(4), S_OK);
    EXPECT_EQ(zeroed->GetHeight(), 4);
    EXPECT_EQ(*zeroed->GetPixelAddress(16, 1), 9);
    EXPECT_EQ(*zeroed->GetPixelAddress(31, 3), 0);
    EXPECT_EQ(zeroed->SetHeight(0xFFFFFFFFu), E_FAIL);
    EXPECT_EQ(zeroed->GetHeight(), 4);
    EXPECT_EQ(Pixels::Create(0, 0, 0, nullptr)->GetPixels(), nullptr);
}

TEST(GlyphAtlas, TwelvePointAtlasPacksRowsAndGrowsByPowersOfTwo)
{
    const RCPtr<LFont> font(new LFont(u"Any", 12.0f, 0));
    LGlyphAtlas atlas(font);
    ASSERT_TRUE(atlas.GetImage());
    EXPECT_EQ(atlas.GetImage()->GetWidth(), 512);
    EXPECT_EQ(atlas.GetImage()->GetHeight(), 16);

    const struct
    {
        std::uint32_t width;
        std::uint32_t height;
        bool inAtlas;
        std::uint16_t x;
        std::uint16_t y;
        std::int32_t imageHeight;
    } steps[] = {
        {10, 12, true, 1, 1, 16},   {10, 14, true, 13, 1, 16}, // the cell ends on row 16: no growth
        {10, 15, true, 25, 1, 32},                             // one row more
        {480, 10, true, 1, 18, 32}, // would reach column 512: a new row below the tallest cell
        {0, 0, true, 483, 18, 32},  // an empty bitmap takes a 2 x 2 cell
        {30, 20, true, 1, 30, 64},  // a new row again, row 29 + 22 needs 64 rows
        {511, 1, false, 0, 0, 64},  // wider than the atlas
        {510, 1, true, 1, 52, 64},  // exactly as wide as the atlas
    };
    std::int32_t character = 'a';
    for (const auto& step : steps)
    {
        LGlyphProcessor::SCachedGlyph glyph = Glyph(character);
        const RCPtr<Pixels> bitmap = Pattern(step.width, step.height);
        atlas.AddGlyph(glyph, bitmap.Get());
        EXPECT_EQ(glyph.inAtlas, step.inAtlas) << step.width << "x" << step.height;
        EXPECT_EQ(glyph.textureX, step.x) << step.width << "x" << step.height;
        EXPECT_EQ(glyph.textureY, step.y) << step.width << "x" << step.height;
        EXPECT_EQ(atlas.GetImage()->GetHeight(), step.imageHeight);
        const LGlyphProcessor::SCachedGlyph* kept = atlas.FindGlyph(character);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->textureY, step.y);
        if (step.inAtlas)
        {
            // Every pixel copied, and the one-texel border around the cell left empty.
            const Pixels& image = *atlas.GetImage();
            for (std::uint32_t y = 0; y < step.height + 2; ++y)
            {
                for (std::uint32_t x = 0; x < step.width + 2; ++x)
                {
                    const bool inside = x > 0 && y > 0 && x <= step.width && y <= step.height;
                    const unsigned char expected =
                        inside ? *bitmap->GetPixelAddress(x - 1, y - 1) : 0;
                    ASSERT_EQ(*image.GetPixelAddress(step.x - 1 + x, step.y - 1 + y), expected)
                        << step.width << "x" << step.height << " at " << x << "," << y;
                }
            }
        }
        ++character;
    }
    EXPECT_EQ(atlas.GetGlyphCount(), static_cast<std::int32_t>(std::size(steps)));
    EXPECT_EQ(atlas.GetDirtyRect(), RectT<float>(0.0f, 0.0f, 512.0f, 64.0f));
}

TEST(GlyphAtlas, CellsPastTheHeightCapAreLeftOutAndTheAtlasGoesOn)
{
    const RCPtr<LFont> font(new LFont(u"Any", 12.0f, 0));
    LGlyphAtlas atlas(font);
    using Case = std::tuple<std::uint32_t, std::uint32_t, bool>;
    const Case steps[] = {
        {100, 16000, true},
        {420, 500, false}, // its row would start at 16002 and end past 16384
        {20, 300, true},   // still room in the current row
        {5, 20000, false}, // taller than the atlas can be
    };
    std::int32_t character = 'a';
    for (const auto& [width, height, inAtlas] : steps)
    {
        LGlyphProcessor::SCachedGlyph glyph = Glyph(character++);
        atlas.AddGlyph(glyph, Pattern(width, height).Get());
        EXPECT_EQ(glyph.inAtlas, inAtlas) << height;
        EXPECT_EQ(atlas.GetImage()->GetHeight(), LGlyphAtlas::kMaxHeight);
    }
    EXPECT_EQ(atlas.GetCursorX(), 102 + 22);
    EXPECT_EQ(atlas.GetRowTop(), 0);
}

TEST(AtlasGlyphProcessor, SeventeenthFontDropsTheLeastRecentlyUsedAtlas)
{
    RCPtr<LAtlasGlyphProcessor> processor(new LAtlasGlyphProcessor);
    std::vector<RCPtr<LFont>> fonts;
    for (int i = 0; i < LAtlasGlyphProcessor::kFontCapacity + 1; ++i)
    {
        fonts.emplace_back(new LFont(u"Any", 10.0f + static_cast<float>(i), 0));
        processor->Begin(fonts.back(), LGlyphProcessor::kFlagsMeasure);
        processor->End();
    }
    EXPECT_FALSE(processor->FindAtlas(fonts[0]));
    for (int i = 1; i < LAtlasGlyphProcessor::kFontCapacity + 1; ++i)
    {
        EXPECT_TRUE(processor->FindAtlas(fonts[static_cast<std::size_t>(i)])) << i;
    }
    // The dropped font starts a new, empty atlas.
    processor->Begin(fonts[0], LGlyphProcessor::kFlagsMeasure);
    LGlyphProcessor::SGlyph record;
    record.character = 'A';
    EXPECT_EQ(processor->QueryGlyph(record), LGlyphProcessor::kWorkAll);
    processor->End();
    EXPECT_EQ(processor->FindAtlas(fonts[0])->GetGlyphCount(), 0);
    // Without a current font nothing is asked for and nothing kept.
    EXPECT_EQ(processor->QueryGlyph(record), 0);
    processor->ProcessGlyph(record);
    EXPECT_EQ(record.glyphIndex, 0u);
}
