// Font metrics, measuring and drawing of text by the 2D renderer.
#include "Platform/Graphics2D/FontFamily.h"
#include "Platform/Graphics2D/Graphics.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace QZ::Testing
{
namespace
{

constexpr const char16_t* kMissingFamily = u"No Such Family 7Q";

Graphics2D::FontFamily DejaVuSans()
{
    Graphics2D::FontFamily family;
    EXPECT_EQ(Graphics2D::FontFamily::FromName(u"DejaVu Sans", family), Graphics2D::Status::Ok);
    return family;
}

// bx + bw of the layer's measured box of the text in DejaVu Sans at the size in points.
float LayerExtent(const std::u16string& text, float points)
{
    std::unique_ptr<Graphics2D::Image> image;
    EXPECT_EQ(Graphics2D::Image::Create(1, 1, Graphics2D::PixelFormat::Format32bppARGB, image),
              Graphics2D::Status::Ok);
    Graphics2D::Graphics graphics(*image);
    Graphics2D::RectF bounds;
    EXPECT_EQ(graphics.MeasureString(
                  text, Graphics2D::Font(DejaVuSans(), points, 0, Graphics2D::Unit::Point),
                  {0, 0, 9999, 9999}, bounds),
              Graphics2D::Status::Ok);
    return bounds.x + bounds.width;
}

struct Metrics
{
    std::int32_t height = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    friend bool operator==(const Metrics&, const Metrics&) = default;
};

Metrics MetricsOf(LGDIRenderer& renderer, const RCPtr<LFont>& font)
{
    Metrics metrics;
    EXPECT_EQ(renderer.GetFontMetrics(font, metrics.height, metrics.ascent, metrics.descent), S_OK);
    return metrics;
}

TEST(GDIRendererText, MetricsOfDejaVuSansAtNinePoints)
{
    const Graphics2D::FontFamily family = DejaVuSans();
    ASSERT_EQ(family.GetEmHeight(0), 2048);
    ASSERT_EQ(family.GetCellAscent(0), 1901);
    ASSERT_EQ(family.GetCellDescent(0), 483);
    ASSERT_EQ(family.GetLineSpacing(0), 2384);
    LGDIRenderer renderer;
    // 2384 x 9 / 2048 x 96 / 72 = 13.97 -> 14; 1901 x 9 x 96 / (2048 x 72) = 11.14 -> 12;
    // 483 x 9 x 96 / (2048 x 72) = 2.83 -> 3.
    EXPECT_EQ(MetricsOf(renderer, LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0)),
              (Metrics{14, -12, 3}));
}

TEST(GDIRendererText, MissingFamilyMeasuresAsTheSansSerifFallback)
{
    Graphics2D::FontFamily fallback;
    ASSERT_EQ(Graphics2D::FontFamily::GenericSansSerif(fallback), Graphics2D::Status::Ok);
    const RCPtr<LFont> missing = LFont::FindOrCreate(kMissingFamily, 11.0f, 1);
    const RCPtr<LFont> generic =
        LFont::FindOrCreate(WideString(fallback.GetName().c_str()), 11.0f, 1);
    LGDIRenderer renderer;
    EXPECT_EQ(MetricsOf(renderer, missing), MetricsOf(renderer, generic));
    EXPECT_EQ(renderer.MeasureText(u"Filter cutoff", missing),
              renderer.MeasureText(u"Filter cutoff", generic));
}

// The box sits on the baseline with the layer's width at 96 dpi; at another resolution the
// width is scaled, 3 added and rounded.
TEST(GDIRendererText, BoxSitsOnTheBaselineWithTheLayersWidthScaledFrom96Dpi)
{
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0);
    EXPECT_EQ(LGDIRenderer().MeasureText(u"Cutoff ", font),
              (RectT<float>{0.0f, -12.0f, LayerExtent(u"Cutoff ", 9.0f), 14.0f}));
    EXPECT_EQ(LGDIRenderer(120).MeasureText(u"Resonance", font).width,
              std::round(0.8f * LayerExtent(u"Resonance", 9.0f) + 3.0f));
}

TEST(GDIRendererText, EmptyTextAndNullFontMeasureNothing)
{
    LGDIRenderer renderer;
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0);
    EXPECT_EQ(renderer.MeasureText(u"", font), (RectT<float>{}));
    EXPECT_EQ(renderer.MeasureText(u"x", nullptr), (RectT<float>{}));
    std::int32_t height = 7;
    std::int32_t ascent = 7;
    std::int32_t descent = 7;
    EXPECT_EQ(renderer.GetFontMetrics(nullptr, height, ascent, descent), E_INVALIDARG);
    EXPECT_EQ(height + ascent + descent, 21);
}

TEST(GDIRendererText, TextIsDrawnOnePixelAboveThePosition)
{
    OffscreenFrame frame(40, 20);
    frame.Draw(
        [](LGDIRenderer& r) {
            r.DrawText(u"Ag", LFont::FindOrCreate(kMissingFamily, 10.0f, 0), {3, 6},
                       ColorRGBA(kBlack));
        });

    std::unique_ptr<Graphics2D::Image> expected;
    ASSERT_EQ(
        Graphics2D::Image::Create(40, 20, Graphics2D::PixelFormat::Format32bppPARGB, expected),
        Graphics2D::Status::Ok);
    Graphics2D::Graphics graphics(*expected);
    ASSERT_EQ(graphics.DrawString(
                  u"Ag",
                  Graphics2D::Font(Graphics2D::FontFamily(), 10.0f, 0, Graphics2D::Unit::Point),
                  {3, 5, 0, 0}, Graphics2D::SolidBrush{kBlack}),
              Graphics2D::Status::Ok);
    std::int32_t inked = 0;
    for (std::int32_t y = 0; y < 20; ++y)
    {
        for (std::int32_t x = 0; x < 40; ++x)
        {
            std::uint32_t want = 0;
            ASSERT_EQ(expected->GetPixel(x, y, want), Graphics2D::Status::Ok);
            ASSERT_EQ(frame.Pixel(x, y), want) << x << "," << y;
            inked += want != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20);
}

// What menus, labels and lists lay out by the measured width is what the text inks: the ink
// ends within a pixel of the measured width, in the size, style and family drawn, also for a
// family that is not installed.
TEST(GDIRendererText, MeasuredWidthIsWhereTheDrawnTextEnds)
{
    struct Case
    {
        const char16_t* text;
        const char16_t* family;
        float points;
        std::int32_t style;
    };
    for (const Case& c :
         {Case{u"About Tarn 61 Vidida Editor", u"DejaVu Sans", 9.0f, 0},
          Case{u"Ctrl+Shift+S", u"DejaVu Sans", 9.0f, 0}, Case{u"WAVE", u"DejaVu Sans", 14.0f, 1},
          Case{u"First: C (1) | Last C (6)", kMissingFamily, 8.0f, 0}})
    {
        constexpr std::int32_t kLeft = 5;
        OffscreenFrame frame(400, 40);
        const RCPtr<LFont> font = LFont::FindOrCreate(c.family, c.points, c.style);
        frame.Draw(
            [&](LGDIRenderer& r) {
                r.DrawText(c.text, font, {kLeft, 8}, ColorRGBA(kBlack));
            });
        std::int32_t inkEnd = 0;
        for (std::int32_t y = 0; y < 40; ++y)
        {
            for (std::int32_t x = 0; x < 400; ++x)
            {
                inkEnd = frame.Pixel(x, y) != 0 ? std::max(inkEnd, x + 1 - kLeft) : inkEnd;
            }
        }
        const float measured = frame.Renderer()->MeasureText(c.text, font).width;
        EXPECT_NEAR(static_cast<float>(inkEnd), measured, 1.0f) << c.points;
    }
}

} // namespace
} // namespace QZ::Testing
