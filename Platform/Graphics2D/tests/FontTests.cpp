#include "Platform/Graphics2D/Graphics.h"

#include <gtest/gtest.h>

#include <limits>

using namespace QZ::Graphics2D;

namespace
{

FontFamily DejaVu()
{
    FontFamily family;
    EXPECT_EQ(FontFamily::FromName(u"DejaVu Sans", family), Status::Ok);
    return family;
}

float MeasureWidth(Graphics& graphics, std::u16string_view text, const Font& font)
{
    RectF bounds;
    EXPECT_EQ(graphics.MeasureString(text, font, {0, 0, 9999, 9999}, bounds), Status::Ok);
    return bounds.width;
}

} // namespace

TEST(FontFamilies, FoundByNameIgnoringCaseAndMissingOnesReported)
{
    FontFamily family;
    ASSERT_EQ(FontFamily::FromName(u"dejavu SANS", family), Status::Ok);
    EXPECT_TRUE(family.IsValid());
    EXPECT_EQ(family.GetName(), "DejaVu Sans");
    EXPECT_EQ(FontFamily::FromName(u"No Such Family Anywhere", family), Status::FontFamilyNotFound);
    EXPECT_FALSE(family.IsValid());
    EXPECT_EQ(family.GetEmHeight(FontStyleRegular), 0);
    EXPECT_EQ(FontFamily::FromName(u"", family), Status::FontFamilyNotFound);
}

TEST(FontFamilies, FallbackIsDejaVuSans)
{
    FontFamily family;
    ASSERT_EQ(FontFamily::GenericSansSerif(family), Status::Ok);
    EXPECT_EQ(family.GetName(), "DejaVu Sans");
}

TEST(FontMetrics, DesignMetricsAreConsistent)
{
    const FontFamily family = DejaVu();
    for (std::int32_t style : {FontStyleRegular, FontStyleBold})
    {
        SCOPED_TRACE(style);
        EXPECT_GT(family.GetEmHeight(style), 0);
        EXPECT_GT(family.GetCellAscent(style), 0);
        EXPECT_GT(family.GetCellDescent(style), 0);
        EXPECT_GE(family.GetLineSpacing(style),
                  family.GetCellAscent(style) + family.GetCellDescent(style));
        EXPECT_GT(family.GetCellAscent(style), family.GetCellDescent(style));
    }
}

TEST(FontMetrics, HeightGrowsInProportionToSizeAndPointsFollowTheDpi)
{
    const FontFamily family = DejaVu();
    const float ratio = static_cast<float>(family.GetLineSpacing(FontStyleRegular)) /
                        family.GetEmHeight(FontStyleRegular);
    for (float size : {6.0f, 9.0f, 12.0f, 30.0f})
    {
        SCOPED_TRACE(size);
        const Font pixels(family, size, FontStyleRegular, Unit::Pixel);
        const Font points(family, size, FontStyleRegular, Unit::Point);
        ASSERT_EQ(pixels.GetLastStatus(), Status::Ok);
        EXPECT_FLOAT_EQ(pixels.GetHeight(96), size * ratio);
        EXPECT_FLOAT_EQ(pixels.GetHeight(72), size * ratio);
        EXPECT_FLOAT_EQ(points.GetPixelSize(96), size * 96 / 72);
        EXPECT_FLOAT_EQ(points.GetHeight(96), size * 96 / 72 * ratio);
    }
}

TEST(FontMetrics, UnusableFontsAreReported)
{
    const FontFamily family = DejaVu();
    EXPECT_EQ(Font(family, 0, 0, Unit::Point).GetLastStatus(), Status::InvalidParameter);
    EXPECT_EQ(Font(family, -3, 0, Unit::Point).GetLastStatus(), Status::InvalidParameter);
    EXPECT_EQ(Font(family, std::numeric_limits<float>::quiet_NaN(), 0, Unit::Point).GetLastStatus(),
              Status::InvalidParameter);
    EXPECT_EQ(Font(family, 10, 0, Unit::World).GetLastStatus(), Status::InvalidParameter);
    const Font unusable(family, 0, 0, Unit::Point);
    EXPECT_EQ(unusable.GetHeight(96), 0);

    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(4, 4, PixelFormat::Format32bppPARGB, image), Status::Ok);
    Graphics graphics(*image);
    RectF bounds{1, 1, 1, 1};
    EXPECT_EQ(graphics.MeasureString(u"x", unusable, {}, bounds), Status::InvalidParameter);
    EXPECT_EQ(graphics.DrawString(u"x", unusable, {}, SolidBrush{}), Status::InvalidParameter);
}

TEST(FontMetrics, FontOfAMissingFamilyDrawsWithTheFallbackFace)
{
    FontFamily missing;
    EXPECT_EQ(FontFamily::FromName(u"No Such Family Anywhere", missing),
              Status::FontFamilyNotFound);
    const Font font(missing, 10, FontStyleRegular, Unit::Pixel);
    EXPECT_EQ(font.GetLastStatus(), Status::Ok);
    EXPECT_EQ(font.GetFace(), DejaVu().GetFace(FontStyleRegular));
    EXPECT_GT(font.GetHeight(96), 10);
}

TEST(TextMeasuring, BoxStartsAfterThePadAndAddsAdvances)
{
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(4, 4, PixelFormat::Format32bppPARGB, image), Status::Ok);
    Graphics graphics(*image);
    const Font font(DejaVu(), 12, FontStyleRegular, Unit::Pixel);
    RectF bounds;
    ASSERT_EQ(graphics.MeasureString(u"Tarn", font, {5, 7, 0, 0}, bounds), Status::Ok);
    EXPECT_FLOAT_EQ(bounds.x, 5 + 12.0f / 6);
    EXPECT_FLOAT_EQ(bounds.y, 7);
    EXPECT_FLOAT_EQ(bounds.height, font.GetHeight(96));
    EXPECT_GT(bounds.width, 12.0f);

    EXPECT_NEAR(MeasureWidth(graphics, u"ab", font),
                MeasureWidth(graphics, u"a", font) + MeasureWidth(graphics, u"b", font), 0.01);
    EXPECT_GT(MeasureWidth(graphics, u"a  ", font), MeasureWidth(graphics, u"a", font));
    EXPECT_NEAR(MeasureWidth(graphics, u"Tarn", Font(DejaVu(), 24, 0, Unit::Pixel)),
                2 * MeasureWidth(graphics, u"Tarn", font), 0.01);
    EXPECT_GT(MeasureWidth(graphics, u"Tarn", Font(DejaVu(), 12, FontStyleBold, Unit::Pixel)),
              MeasureWidth(graphics, u"Tarn", font));
    ASSERT_EQ(graphics.MeasureString(u"", font, {5, 7, 0, 0}, bounds), Status::Ok);
    EXPECT_EQ(bounds.width, 0);
    EXPECT_EQ(bounds.height, 0);
}

TEST(TextDrawing, InkFallsInsideTheMeasuredBox)
{
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(60, 30, PixelFormat::Format32bppPARGB, image), Status::Ok);
    Graphics graphics(*image);
    const Font font(DejaVu(), 14, FontStyleRegular, Unit::Pixel);
    const RectF layout{4, 6, 0, 0};
    RectF box;
    ASSERT_EQ(graphics.MeasureString(u"Hg", font, layout, box), Status::Ok);
    ASSERT_EQ(graphics.DrawString(u"Hg", font, layout, SolidBrush{0xFF000000u}), Status::Ok);
    int inside = 0;
    int outside = 0;
    for (std::int32_t y = 0; y < image->GetHeight(); ++y)
    {
        for (std::int32_t x = 0; x < image->GetWidth(); ++x)
        {
            std::uint32_t pixel = 0;
            ASSERT_EQ(image->GetPixel(x, y, pixel), Status::Ok);
            if ((pixel >> 24) == 0)
            {
                continue;
            }
            const bool within = x + 1 > box.x - 1 && x < box.x + box.width + 1 && y + 1 > box.y &&
                                y < box.y + box.height;
            ++(within ? inside : outside);
        }
    }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}
