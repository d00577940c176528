#include "QZFramework/Renderer/tests/ReferenceScene.h"

#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Utilities/Graphics/BitmapData.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace QZ::Testing
{
namespace
{

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

void DrawPanel(LRenderer& r)
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

void DrawShapes(LRenderer& r)
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

void DrawBitmaps(LRenderer& r, const RCPtr<LBitmap>& pattern)
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
std::vector<RectT<std::int32_t>> TextBoxes(LRenderer& renderer)
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

bool Inside(const std::vector<RectT<std::int32_t>>& boxes, std::int32_t x, std::int32_t y)
{
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const RectT<std::int32_t>& b)
                       { return x >= b.x && y >= b.y && x < b.GetRight() && y < b.GetBottom(); });
}

std::int32_t Channel(std::uint32_t argb, int shift)
{
    return static_cast<std::int32_t>((argb >> shift) & 0xFF);
}

std::int32_t ChannelDifference(std::uint32_t a, std::uint32_t b)
{
    std::int32_t largest = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
    }
    return largest;
}

// How far each channel of got lies outside the range of the reference pixels within two pixels of
// (x, y); -1 when they are all one colour (not an edge).
std::int32_t EdgeDistance(Graphics2D::Image& reference, std::int32_t x, std::int32_t y,
                          std::uint32_t got)
{
    std::int32_t low[4] = {255, 255, 255, 255};
    std::int32_t high[4] = {0, 0, 0, 0};
    bool uniform = true;
    std::uint32_t first = 0;
    (void)reference.GetPixel(x, y, first);
    for (std::int32_t dy = -2; dy <= 2; ++dy)
    {
        for (std::int32_t dx = -2; dx <= 2; ++dx)
        {
            std::uint32_t argb = first;
            if (reference.GetPixel(x + dx, y + dy, argb) != Graphics2D::Status::Ok)
            {
                continue;
            }
            uniform = uniform && argb == first;
            for (int c = 0; c < 4; ++c)
            {
                low[c] = std::min(low[c], Channel(argb, c * 8));
                high[c] = std::max(high[c], Channel(argb, c * 8));
            }
        }
    }
    if (uniform)
    {
        return -1;
    }
    std::int32_t distance = 0;
    for (int c = 0; c < 4; ++c)
    {
        const std::int32_t value = Channel(got, c * 8);
        distance = std::max({distance, low[c] - value, value - high[c]});
    }
    return distance;
}

std::uint32_t Dimmed(std::uint32_t argb)
{
    return 0xFF000000u | ((argb >> 2) & 0x003F3F3Fu);
}

} // namespace

RCPtr<LBitmap> MakeBitmap(std::int32_t width, std::int32_t height,
                          const std::vector<std::uint32_t>& pixels)
{
    RCPtr<LBitmap> bitmap = LBitmap::CreateFilledBitmap({width, height}, ColorRGBA());
    RCPtr<LBitmapData> data = bitmap->LockPixels(Graphics2D::LockModeWrite);
    for (std::int32_t y = 0; y < height; ++y)
    {
        auto* row =
            reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(data->GetPixels()) +
                                             std::ptrdiff_t{y} * data->GetStride());
        for (std::int32_t x = 0; x < width; ++x)
        {
            row[x] = pixels.at(static_cast<std::size_t>(y * width + x));
        }
    }
    return bitmap;
}

void DrawReferenceScene(LRenderer& r)
{
    r.DrawBitmap(
        LBitmap::CreateGradientFilledBitmap({1, 8}, ColorRGBA(0xFFF4F1EAu), ColorRGBA(0xFFC8CDD6u)),
        {0, 0, kSceneWidth, kSceneHeight}, LRenderer::kResizeStretch);
    DrawPanel(r);
    DrawShapes(r);
    DrawBitmaps(r, PatternBitmap());
    for (const Label& label : kLabels)
    {
        r.DrawText(label.text, LFont::FindOrCreate(u"DejaVu Sans", label.points, 0), label.position,
                   ColorRGBA(0xFF101820u));
    }
}

SceneComparison CompareWithReferenceScene(const std::vector<std::uint32_t>& picture,
                                          LRenderer& renderer, const SceneTolerance& tolerance,
                                          const std::string& outputFolder, const std::string& name)
{
    SceneComparison result;
    std::unique_ptr<Graphics2D::Image> reference;
    result.referenceLoaded =
        Graphics2D::Image::FromFile(QZ_REFERENCE_SCENE_PNG, reference) == Graphics2D::Status::Ok &&
        reference->GetWidth() == kSceneWidth && reference->GetHeight() == kSceneHeight &&
        picture.size() == static_cast<std::size_t>(kSceneWidth * kSceneHeight);
    std::unique_ptr<Graphics2D::Image> actual;
    std::unique_ptr<Graphics2D::Image> difference;
    (void)Graphics2D::Image::Create(kSceneWidth, kSceneHeight,
                                    Graphics2D::PixelFormat::Format32bppARGB, actual);
    (void)Graphics2D::Image::Create(kSceneWidth, kSceneHeight,
                                    Graphics2D::PixelFormat::Format32bppARGB, difference);
    const std::vector<RectT<std::int32_t>> textBoxes = TextBoxes(renderer);
    for (std::int32_t y = 0; y < kSceneHeight && result.referenceLoaded; ++y)
    {
        for (std::int32_t x = 0; x < kSceneWidth; ++x)
        {
            std::uint32_t want = 0;
            (void)reference->GetPixel(x, y, want);
            const std::uint32_t got = picture[static_cast<std::size_t>(y * kSceneWidth + x)];
            (void)actual->SetPixel(x, y, got);
            const std::int32_t off = ChannelDifference(want, got);
            bool tolerated = off == 0;
            if (!tolerated && Inside(textBoxes, x, y))
            {
                tolerated = off <= tolerance.textTolerance;
            }
            if (!tolerated && tolerance.edgeSlack >= 0)
            {
                const std::int32_t distance = EdgeDistance(*reference, x, y, got);
                tolerated = distance >= 0 && distance <= tolerance.edgeSlack;
            }
            result.beyondTolerance += tolerated ? 0 : 1;
            (void)difference->SetPixel(x, y,
                                       off == 0     ? Dimmed(want)
                                       : !tolerated ? 0xFFFF0000u
                                                    : 0xFFFFFF00u);
        }
    }
    if (!result.referenceLoaded || result.beyondTolerance != 0)
    {
        (void)actual->SaveToPngFile((outputFolder + "/" + name + "-actual.png").c_str());
        (void)difference->SaveToPngFile((outputFolder + "/" + name + "-difference.png").c_str());
    }
    return result;
}

} // namespace QZ::Testing
