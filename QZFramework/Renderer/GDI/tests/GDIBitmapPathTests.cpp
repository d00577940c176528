// Bitmaps in the three resize types and polylines through the 2D renderer's caches.
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace QZ::Testing
{
namespace
{

constexpr std::uint32_t R = kRed;
constexpr std::uint32_t G = kGreen;
constexpr std::uint32_t B = kBlue;
constexpr std::uint32_t W = kWhite;

// The frame as text: R, G, B, W for those colours, '.' for transparent, '?' for anything else.
std::string Colours(const OffscreenFrame& frame, std::int32_t width, std::int32_t height)
{
    std::string text;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            switch (frame.Pixel(x, y))
            {
            case kRed:
                text += 'R';
                break;
            case kGreen:
                text += 'G';
                break;
            case kBlue:
                text += 'B';
                break;
            case kWhite:
                text += 'W';
                break;
            case 0:
                text += '.';
                break;
            default:
                text += '?';
                break;
            }
        }
        text += '\n';
    }
    return text;
}

std::int32_t FilledEntries(const LGDIRenderer::BitmapCache& cache)
{
    std::int32_t filled = 0;
    for (std::int32_t i = 0; i < cache.GetCapacity(); ++i)
    {
        filled += cache.GetEntry(i).IsEmpty() ? 0 : 1;
    }
    return filled;
}

class GDIRendererBitmaps : public ::testing::Test
{
protected:
    void Draw(const RectT<std::int32_t>& destination, std::int32_t resizeType,
              const RCPtr<LBitmap>& bitmap)
    {
        mFrame.Draw([&](LGDIRenderer& r) { r.DrawBitmap(bitmap, destination, resizeType); });
    }

    // 2 x 2: red, green over blue, white.
    RCPtr<LBitmap> mQuad = MakeBitmap(2, 2, {R, G, B, W});
    OffscreenFrame mFrame{8, 6};
};

// Drawn at its own size, a bitmap (or a part of one) goes straight from its image, with no
// rendering of its own kept.
TEST_F(GDIRendererBitmaps, NaturalSizeIsCopiedWhateverTheResizeType)
{
    const RCPtr<LBitmap> right = mQuad->CreateSubBitmap(1, 0, 1, 2);
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawBitmap(mQuad, {1, 1, 2, 2}, 7);
            r.DrawBitmap(right, {0, 3, 1, 2}, LRenderer::kResizeTile);
        });
    EXPECT_EQ(Colours(mFrame, 4, 5), "....\n.RG.\n.BW.\nG...\nW...\n");
    EXPECT_EQ(FilledEntries(mFrame.Renderer()->GetBitmapCache()), 0);
}

TEST_F(GDIRendererBitmaps, StretchRepeatsPixelsByNearestNeighbour)
{
    Draw({0, 0, 4, 6}, LRenderer::kResizeStretch, mQuad);
    EXPECT_EQ(Colours(mFrame, 5, 6), "RRGG.\nRRGG.\nRRGG.\nBBWW.\nBBWW.\nBBWW.\n");
}

TEST_F(GDIRendererBitmaps, TileRepeatsFromTheTopLeftAndCutsAtTheEdges)
{
    Draw({0, 0, 5, 3}, LRenderer::kResizeTile, mQuad);
    EXPECT_EQ(Colours(mFrame, 6, 4), "RGRGR.\nBWBWB.\nRGRGR.\n......\n");
}

TEST_F(GDIRendererBitmaps, TileOfThreeOrMoreRepetitionsGivesTheSamePicture)
{
    Draw({0, 0, 6, 3}, LRenderer::kResizeTile, mQuad);
    Draw({0, 3, 7, 3}, LRenderer::kResizeTile, mQuad);
    EXPECT_EQ(Colours(mFrame, 8, 6), "RGRGRG..\nBWBWBW..\nRGRGRG..\n"
                                     "RGRGRGR.\nBWBWBWB.\nRGRGRGR.\n");
}

TEST_F(GDIRendererBitmaps, CenterOfASmallerDestinationShowsTheMiddle)
{
    const RCPtr<LBitmap> row = MakeBitmap(6, 1, {R, R, G, B, W, W});
    Draw({1, 1, 2, 1}, LRenderer::kResizeCenter, row);
    Draw({0, 3, 8, 1}, LRenderer::kResizeCenter, row);
    EXPECT_EQ(Colours(mFrame, 8, 4), "........\n.GB.....\n........\n.RRGBWW.\n");
}

TEST_F(GDIRendererBitmaps, AlphaIsComposedOverTheBackground)
{
    const RCPtr<LBitmap> glass = MakeBitmap(1, 1, {0x80000000u});
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.FillRect({0, 0, 8, 6}, ColorRGBA(kWhite), true);
            r.DrawBitmap(glass, {1, 1, 2, 2}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(mFrame.Pixel(2, 2), 0xFF7F7F7Fu);
    EXPECT_EQ(mFrame.Pixel(3, 3), kWhite);
}

TEST_F(GDIRendererBitmaps, ResizeTypeIsPartOfTheCacheKey)
{
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawBitmap(mQuad, {0, 0, 4, 2}, LRenderer::kResizeStretch);
            r.DrawBitmap(mQuad, {0, 2, 4, 2}, LRenderer::kResizeTile);
            r.DrawBitmap(mQuad, {0, 4, 4, 2}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(Colours(mFrame, 4, 6), "RRGG\nBBWW\nRGRG\nBWBW\nRRGG\nBBWW\n");
    EXPECT_EQ(FilledEntries(mFrame.Renderer()->GetBitmapCache()), 2);
}

TEST_F(GDIRendererBitmaps, SubBitmapsOfOneImageAreCachedApart)
{
    const RCPtr<LBitmap> left = mQuad->CreateSubBitmap(0, 0, 1, 2);
    const RCPtr<LBitmap> right = mQuad->CreateSubBitmap(1, 0, 1, 2);
    ASSERT_EQ(LBitmap::GetHandle(left), LBitmap::GetHandle(right));
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawBitmap(left, {0, 0, 2, 2}, LRenderer::kResizeStretch);
            r.DrawBitmap(right, {2, 0, 2, 2}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(Colours(mFrame, 4, 2), "RRGG\nBBWW\n");
    EXPECT_EQ(FilledEntries(mFrame.Renderer()->GetBitmapCache()), 2);
}

TEST_F(GDIRendererBitmaps, SubBitmapsOfTheSameAreaShareOneRendering)
{
    const RCPtr<LBitmap> first = mQuad->CreateSubBitmap(0, 1, 2, 1);
    const RCPtr<LBitmap> second = mQuad->CreateSubBitmap(0, 1, 2, 1);
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawBitmap(first, {0, 0, 4, 1}, LRenderer::kResizeStretch);
            r.DrawBitmap(second, {0, 1, 4, 1}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(Colours(mFrame, 4, 2), "BBWW\nBBWW\n");
    EXPECT_EQ(FilledEntries(mFrame.Renderer()->GetBitmapCache()), 1);
}

TEST_F(GDIRendererBitmaps, RepeatedDrawsReuseOneRendering)
{
    Draw({0, 0, 4, 4}, LRenderer::kResizeStretch, mQuad);
    Draw({4, 2, 4, 4}, LRenderer::kResizeStretch, mQuad);
    const LGDIRenderer::BitmapCache& cache = mFrame.Renderer()->GetBitmapCache();
    EXPECT_EQ(FilledEntries(cache), 1);
    EXPECT_EQ(cache.GetEntry(0).useCount, 2u);
    EXPECT_EQ(mFrame.Pixel(7, 5), kWhite);
}

TEST_F(GDIRendererBitmaps, InvalidResizeTypeThrowsWhenTheSizeDiffers)
{
    mFrame.Start();
    const std::string text = ExceptionText(
        [&] {
            mFrame.Renderer()->DrawBitmap(mQuad, {0, 0, 3, 3}, 3);
        });
    mFrame.Finish();
    EXPECT_EQ(text.rfind("Invalid Argument : Invalid ResizeType passed to DrawBitmap. : "
                         "QZ::LGDIRenderer::DrawBitmap : ",
                         0),
              0u)
        << text;
    EXPECT_EQ(FilledEntries(mFrame.Renderer()->GetBitmapCache()), 0);
}

TEST_F(GDIRendererBitmaps, MissingPixelsAndEmptyDestinationsDrawNothing)
{
    const RCPtr<LBitmap> unloaded(new LBitmap(u"/nonexistent/skin.png", u""));
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawBitmap(nullptr, {0, 0, 4, 4}, LRenderer::kResizeTile);
            r.DrawBitmap(unloaded, {0, 0, 4, 4}, LRenderer::kResizeTile);
            r.DrawBitmap(mQuad, {0, 0, 0, 4}, LRenderer::kResizeTile);
            r.DrawBitmap(mQuad, {0, 0, 4, -4}, LRenderer::kResizeStretch);
            r.DrawBitmap(mQuad, {0, 0, 100000, 100000}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(Colours(mFrame, 4, 4), "....\n....\n....\n....\n");
}

class GDIRendererPaths : public ::testing::Test
{
protected:
    static PolylineT<float> Line(std::initializer_list<PointT<float>> points)
    {
        PolylineT<float> polyline;
        for (const PointT<float>& point : points)
        {
            polyline.AddPoint(point);
        }
        return polyline;
    }

    const LGDIRenderer::PathCache& Cache() const { return mFrame.Renderer()->GetPathCache(); }
    const LGDIRenderer::LGraphicsPath* CachedPath(std::int32_t entry) const
    {
        return Cache().GetEntry(entry).object.Get();
    }

    OffscreenFrame mFrame{8, 6};
    const ColorRGBA mInk{kBlack};
    const PointT<float> mNoOffset{0, 0};
    const PointT<float> mUnit{1, 1};
};

TEST_F(GDIRendererPaths, SegmentsTakePointsInPairsAndLeaveAnOddOneOut)
{
    PolylineT<float> segments = Line({{0, 0}, {3, 0}, {0, 2}, {5, 2}, {7, 5}});
    mFrame.Draw([&](LGDIRenderer& r)
                { r.DrawLineSegments(segments, mInk, mNoOffset, mUnit, true); });
    EXPECT_EQ(mFrame.Picture(kBlack), "###.....\n........\n#####...\n........\n........\n"
                                      "........\n");
}

TEST_F(GDIRendererPaths, PolylineIsOpenAndPolygonClosed)
{
    PolylineT<float> shape = Line({{1, 1}, {5, 1}, {5, 4}});
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolyline(shape, mInk, mNoOffset, mUnit, true); });
    const std::string open = mFrame.Picture(kBlack);
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolygon(shape, mInk, mNoOffset, mUnit, true); });
    const std::string closed = mFrame.Picture(kBlack);
    EXPECT_EQ(open, "........\n.#####..\n.....#..\n.....#..\n........\n........\n");
    // The closing side runs from (5, 4) back to (1, 1).
    EXPECT_GT(std::count(closed.begin(), closed.end(), '#'),
              std::count(open.begin(), open.end(), '#') + 2);
    EXPECT_EQ(closed.substr(0, 18), open.substr(0, 18));
}

TEST_F(GDIRendererPaths, FilledPolygonUsesTheAlternateRule)
{
    PolylineT<float> square = Line({{1, 1}, {5, 1}, {5, 5}, {1, 5}});
    mFrame.Draw([&](LGDIRenderer& r) { r.FillPolygon(square, mInk, mNoOffset, mUnit, true); });
    EXPECT_EQ(mFrame.Picture(kBlack), "........\n.####...\n.####...\n.####...\n.####...\n"
                                      "........\n");
}

TEST_F(GDIRendererPaths, PathIsBuiltOnceUntilThePolylineChanges)
{
    PolylineT<float> line = Line({{0, 0}, {4, 0}});
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolyline(line, mInk, mNoOffset, mUnit, true); });
    const LGDIRenderer::LGraphicsPath* built = CachedPath(0);
    ASSERT_NE(built, nullptr);
    EXPECT_FALSE(line.IsChanged());
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolyline(line, mInk, {0, 2}, mUnit, true); });
    EXPECT_EQ(CachedPath(0), built);
    EXPECT_EQ(mFrame.Picture(kBlack).substr(0, 27), "####....\n........\n####....\n");

    line.SetPoint(1, {2, 0});
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolyline(line, mInk, {0, 4}, mUnit, true); });
    EXPECT_NE(CachedPath(0), nullptr);
    EXPECT_EQ(mFrame.Picture(kBlack).substr(36, 9), "##......\n");
}

TEST_F(GDIRendererPaths, ChangeSeenByOneKindRebuildsTheOthers)
{
    PolylineT<float> shape = Line({{1, 1}, {5, 1}, {5, 4}});
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawPolyline(shape, mInk, mNoOffset, mUnit, true);
            r.DrawPolygon(shape, mInk, mNoOffset, mUnit, true);
        });
    shape.SetPoint(2, {1, 4});
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.FillRect({0, 0, 8, 6}, ColorRGBA(), false);
            r.DrawPolyline(shape, mInk, mNoOffset, mUnit, true);
            r.DrawPolygon(shape, mInk, mNoOffset, mUnit, true);
        });
    EXPECT_EQ(mFrame.Pixel(5, 3), 0u);
}

TEST_F(GDIRendererPaths, WithoutKeepThePathIsReleasedAfterTheDraw)
{
    PolylineT<float> line = Line({{0, 0}, {4, 0}});
    mFrame.Draw([&](LGDIRenderer& r) { r.DrawPolyline(line, mInk, mNoOffset, mUnit, false); });
    EXPECT_EQ(CachedPath(0), nullptr);
    EXPECT_EQ(Cache().GetEntry(0).useCount, 1u);
    EXPECT_EQ(mFrame.Picture(kBlack).substr(0, 9), "####....\n");
}

TEST_F(GDIRendererPaths, ScaleApartFromOneScalesACopyAndKeepsTheOrigin)
{
    PolylineT<float> line = Line({{0, 0}, {2, 0}});
    PointT<double> origin;
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.DrawPolyline(line, mInk, {1, 1}, {1.0000005f, 1.0f}, true);
            r.DrawPolyline(line, mInk, {1, 3}, {2.5f, 1.0f}, true);
            r.DrawPolyline(line, mInk, {1, 5}, mUnit, true);
            origin = r.GetCurrentState()->origin;
        });
    EXPECT_EQ(mFrame.Picture(kBlack), "........\n.##.....\n........\n.#####..\n........\n"
                                      ".##.....\n");
    EXPECT_EQ(origin, (PointT<double>{0, 0}));
}

} // namespace
} // namespace QZ::Testing
