// A scripted scene rendered off-screen and compared with the reference image kept beside this
// test (data/reference-scene.png): exactly, except inside the boxes of the text, where each
// channel may differ by up to kTextTolerance because glyph rasterisation varies with the FreeType
// release. On failure the picture and a difference image are written next to the build:
// reference-scene-actual.png, and reference-scene-difference.png with exact pixels dimmed,
// differences within the tolerance in yellow and those beyond it in red.
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace QZ::Testing
{
namespace
{

constexpr std::int32_t kWidth = 240;
constexpr std::int32_t kHeight = 160;
constexpr std::int32_t kTextTolerance = 64;

// A 6 x 4 pattern with transparent and half-transparent pixels.
RCPtr<LBitmap> PatternBitmap()
{
    constexpr std::uint32_t o = 0x00000000u;
    constexpr std::uint32_t h = 0x80FF8000u;
    constexpr std::uint32_t y = 0xFFFFD000u;
    constexpr std::uint32_t p = 0xFF8000C0u;
    constexpr std::uint32_t t = 0xFF008080u;
    return MakeBitmap(6, 4, {y, y, p, p, o, h, //
                             y, t, t, p, h, o, //
                             p, t, t, y, o, h, //
                             p, p, y, y, h, o});
}

PolylineT<float> Points(std::initializer_list<PointT<float>> points, float width)
{
    PolylineT<float> polyline;
    for (const PointT<float>& point : points)
    {
        polyline.AddPoint(point);
    }
    polyline.SetLineWidth(width);
    return polyline;
}

void DrawPanel(LGDIRenderer& r)
{
    // A panel whose content overflows its clip, with a nested, moved child panel.
    r.PushClip({8, 8, 110, 70}, {8, 8, 110, 70}, nullptr, true);
    r.DrawFilledRect({0, 0, 109, 69}, ColorRGBA(0xFFDDE4EEu), ColorRGBA(0xFF30405Au), 1.0f);
    r.FillRect({90, 50, 60, 60}, ColorRGBA(0xC0E04040u), true);
    r.PushClip({10, 10, 60, 40}, {10, 10, 60, 40}, nullptr, true);
    r.PushOffset({5, 4});
    r.FillRect({-20, -20, 200, 200}, ColorRGBA(0xFF405070u), true);
    r.DrawRect({0, 0, 30, 20}, ColorRGBA(0xFFFFFFFFu), 3.0f);
    r.DrawLine({-10, 30}, {70, -2}, ColorRGBA(0xFF80FF80u), 1.0f);
    r.PopState();
    r.PopState();
    r.FillRect({75, 12, 20, 10}, ColorRGBA(0x00000000u), false);
    r.PopState();
}

void DrawShapes(LGDIRenderer& r)
{
    ColorRectListT<float> bars;
    for (std::int32_t i = 0; i < 8; ++i)
    {
        bars.Add({static_cast<float>(i) * 3.0f, 10.0f - static_cast<float>(i), 2.0f,
                  static_cast<float>(i) + 2.0f},
                 0xFF000000u | static_cast<std::uint32_t>(i * 30) << 16 | 0x60A0u);
    }
    bars.SetScale(1.5f, 1.5f);
    r.FillColorRects(bars, {126, 10}, false);

    PolylineT<float> star = Points({{0, -14}, {8, 10}, {-12, -5}, {12, -5}, {-8, 10}}, 1.0f);
    r.FillPolygon(star, ColorRGBA(0xFFF0C020u), {190, 28}, {1, 1}, true);
    r.DrawPolygon(star, ColorRGBA(0xFF603000u), {190, 28}, {1, 1}, true);
    PolylineT<float> wave = Points({{0, 0}, {10, 12}, {20, 0}, {30, 12}, {40, 0}}, 2.0f);
    r.DrawPolyline(wave, ColorRGBA(0xFF2050C0u), {128, 44}, {1.5f, 1}, false);
    PolylineT<float> ticks = Points({{0, 0}, {0, 6}, {8, 0}, {8, 4}, {16, 0}, {16, 6}}, 1.0f);
    r.DrawLineSegments(ticks, ColorRGBA(0xFF000000u), {196, 50}, {1, 1}, true);
}

void DrawBitmaps(LGDIRenderer& r, const RCPtr<LBitmap>& pattern)
{
    r.DrawBitmap(pattern, {8, 86, 6, 4}, LRenderer::kResizeStretch);
    r.DrawBitmap(pattern, {18, 86, 30, 20}, LRenderer::kResizeStretch);
    r.DrawBitmap(pattern, {52, 86, 16, 10}, LRenderer::kResizeTile);
    r.DrawBitmap(pattern, {52, 100, 40, 17}, LRenderer::kResizeTile);
    r.DrawBitmap(pattern, {96, 86, 14, 12}, LRenderer::kResizeCenter);
    r.DrawBitmap(pattern, {96, 102, 3, 3}, LRenderer::kResizeCenter);
    r.DrawBitmap(pattern->CreateSubBitmap(1, 1, 3, 2), {114, 86, 9, 8}, LRenderer::kResizeStretch);
}

struct Label
{
    const char16_t* text;
    float points;
    PointT<std::int32_t> position;
};

const Label kLabels[] = {{u"Cutoff 1.2 kHz", 9.0f, {130, 70}}, {u"Tarn 61", 14.0f, {130, 96}}};

// The boxes in which text may differ: each label's measured box, from one pixel above its
// position, widened by two pixels on every side.
std::vector<RectT<std::int32_t>> TextBoxes(LGDIRenderer& renderer)
{
    std::vector<RectT<std::int32_t>> boxes;
    for (const Label& label : kLabels)
    {
        const RectT<float> box =
            renderer.MeasureText(label.text, LFont::FindOrCreate(u"DejaVu Sans", label.points, 0));
        boxes.push_back({label.position.x - 2, label.position.y - 3,
                         static_cast<std::int32_t>(box.width) + 4,
                         static_cast<std::int32_t>(box.height) + 4});
    }
    return boxes;
}

void DrawScene(LGDIRenderer& r)
{
    r.DrawBitmap(
        LBitmap::CreateGradientFilledBitmap({1, 8}, ColorRGBA(0xFFF4F1EAu), ColorRGBA(0xFFC8CDD6u)),
        {0, 0, kWidth, kHeight}, LRenderer::kResizeStretch);
    DrawPanel(r);
    DrawShapes(r);
    DrawBitmaps(r, PatternBitmap());
    for (const Label& label : kLabels)
    {
        r.DrawText(label.text, LFont::FindOrCreate(u"DejaVu Sans", label.points, 0), label.position,
                   ColorRGBA(0xFF101820u));
    }
}

bool Inside(const std::vector<RectT<std::int32_t>>& boxes, std::int32_t x, std::int32_t y)
{
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const RectT<std::int32_t>& b)
                       { return x >= b.x && y >= b.y && x < b.GetRight() && y < b.GetBottom(); });
}

std::int32_t ChannelDifference(std::uint32_t a, std::uint32_t b)
{
    std::int32_t largest = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        largest = std::max(largest, std::abs(static_cast<std::int32_t>((a >> shift) & 0xFF) -
                                             static_cast<std::int32_t>((b >> shift) & 0xFF)));
    }
    return largest;
}

std::uint32_t Dimmed(std::uint32_t argb)
{
    return 0xFF000000u | ((argb >> 2) & 0x003F3F3Fu);
}

std::string OutputPath(const char* name)
{
    return std::string(QZ_GDI_TEST_OUTPUT_DIR) + "/" + name;
}

TEST(GDIReferenceScene, MatchesTheReferenceImage)
{
    OffscreenFrame frame(kWidth, kHeight);
    frame.Draw(DrawScene);
    Graphics2D::Image& actual = *frame.GDIContext().GetFrontSurface()->GetBitmap();
    const std::vector<RectT<std::int32_t>> textBoxes = TextBoxes(*frame.Renderer());

    std::unique_ptr<Graphics2D::Image> reference;
    const std::string referencePath = std::string(QZ_GDI_TEST_DATA_DIR) + "/reference-scene.png";
    const bool loaded =
        Graphics2D::Image::FromFile(referencePath.c_str(), reference) == Graphics2D::Status::Ok &&
        reference->GetWidth() == kWidth && reference->GetHeight() == kHeight;
    EXPECT_TRUE(loaded) << "no reference image of " << kWidth << " x " << kHeight << " at "
                        << referencePath;

    std::unique_ptr<Graphics2D::Image> difference;
    ASSERT_EQ(Graphics2D::Image::Create(kWidth, kHeight, Graphics2D::PixelFormat::Format32bppARGB,
                                        difference),
              Graphics2D::Status::Ok);
    std::int32_t beyond = 0;
    for (std::int32_t y = 0; y < kHeight && loaded; ++y)
    {
        for (std::int32_t x = 0; x < kWidth; ++x)
        {
            std::uint32_t want = 0;
            std::uint32_t got = 0;
            ASSERT_EQ(reference->GetPixel(x, y, want), Graphics2D::Status::Ok);
            ASSERT_EQ(actual.GetPixel(x, y, got), Graphics2D::Status::Ok);
            const std::int32_t allowed = Inside(textBoxes, x, y) ? kTextTolerance : 0;
            const std::int32_t off = ChannelDifference(want, got);
            beyond += off > allowed ? 1 : 0;
            (void)difference->SetPixel(x, y,
                                       off == 0        ? Dimmed(want)
                                       : off > allowed ? 0xFFFF0000u
                                                       : 0xFFFFFF00u);
        }
    }
    EXPECT_EQ(beyond, 0) << "pixels differing beyond the tolerance";
    if (!loaded || beyond != 0)
    {
        EXPECT_EQ(actual.SaveToPngFile(OutputPath("reference-scene-actual.png").c_str()),
                  Graphics2D::Status::Ok);
        EXPECT_EQ(difference->SaveToPngFile(OutputPath("reference-scene-difference.png").c_str()),
                  Graphics2D::Status::Ok);
    }
}

} // namespace
} // namespace QZ::Testing
