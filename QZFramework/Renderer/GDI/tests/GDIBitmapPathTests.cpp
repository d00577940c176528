// Bitmaps in the three resize types and polylines through the 2D renderer's caches.
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace QZ::Testing
{
namespace
{

constexpr std::uint32_t R = kRed;
constexpr std::uint32_t G = kGreen;
constexpr std::uint32_t B = kBlue;
constexpr std::uint32_t W = kWhite;

// The frame's top left, as large as the expected picture.
std::string Colours(const OffscreenFrame& frame, std::string_view expected)
{
    return frame.Colours(static_cast<std::int32_t>(expected.find('\n')),
                         static_cast<std::int32_t>(std::ranges::count(expected, '\n')));
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

struct BitmapDraw
{
    RCPtr<LBitmap> bitmap;
    RectT<std::int32_t> destination;
    std::int32_t resizeType;
};

TEST(GDIRendererBitmaps, ResizeTypesPlacePixelsAndTheCacheKeepsOneRenderingPerLook)
{
    // 2 x 2: red, green over blue, white.
    const RCPtr<LBitmap> quad = MakeBitmap(2, 2, {R, G, B, W});
    const RCPtr<LBitmap> row = MakeBitmap(6, 1, {R, R, G, B, W, W});
    const RCPtr<LBitmap> left = quad->CreateSubBitmap(0, 0, 1, 2);
    const RCPtr<LBitmap> right = quad->CreateSubBitmap(1, 0, 1, 2);
    ASSERT_EQ(LBitmap::GetHandle(left), LBitmap::GetHandle(right));
    const RCPtr<LBitmap> unloaded(new LBitmap(u"/nonexistent/skin.png", u""));
    constexpr std::int32_t kStretch = LRenderer::kResizeStretch;
    constexpr std::int32_t kTile = LRenderer::kResizeTile;
    constexpr std::int32_t kCenter = LRenderer::kResizeCenter;
    // (renderings cached or -1, the picture's top left, the draws)
    struct Case
    {
        std::int32_t renderings;
        const char* picture;
        std::vector<BitmapDraw> draws;
    };
    const Case cases[] = {
        // The natural size, also of a part, goes straight from the image whatever the type, with
        // no rendering kept; stretch repeats the nearest pixel; tile starts at the top left and
        // cuts at the edges, also at three repetitions or more.
        {0,
         "....\n.RG.\n.BW.\nG...\nW...\n",
         {{quad, {1, 1, 2, 2}, 7}, {right, {0, 3, 1, 2}, kTile}}},
        {1, "RRGG.\nRRGG.\nRRGG.\nBBWW.\nBBWW.\nBBWW.\n", {{quad, {0, 0, 4, 6}, kStretch}}},
        {1, "RGRGR.\nBWBWB.\nRGRGR.\n......\n", {{quad, {0, 0, 5, 3}, kTile}}},
        {-1,
         "RGRGRG..\nBWBWBW..\nRGRGRG..\nRGRGRGR.\nBWBWBWB.\nRGRGRGR.\n",
         {{quad, {0, 0, 6, 3}, kTile}, {quad, {0, 3, 7, 3}, kTile}}},
        // Center on a smaller destination shows the middle.
        {-1,
         "........\n.GB.....\n........\n.RRGBWW.\n",
         {{row, {1, 1, 2, 1}, kCenter}, {row, {0, 3, 8, 1}, kCenter}}},
        // The resize type and the sub-bitmap's area are part of the key; one rendering serves
        // repeated draws.
        {2,
         "RRGG\nBBWW\nRGRG\nBWBW\nRRGG\nBBWW\n",
         {{quad, {0, 0, 4, 2}, kStretch},
          {quad, {0, 2, 4, 2}, kTile},
          {quad, {0, 4, 4, 2}, kStretch}}},
        {2, "RRGG\nBBWW\n", {{left, {0, 0, 2, 2}, kStretch}, {right, {2, 0, 2, 2}, kStretch}}},
        {1,
         "BBWW\nBBWW\n",
         {{quad->CreateSubBitmap(0, 1, 2, 1), {0, 0, 4, 1}, kStretch},
          {quad->CreateSubBitmap(0, 1, 2, 1), {0, 1, 4, 1}, kStretch}}},
        {1,
         "RRGG....\nRRGG....\nBBWWRRGG\nBBWWRRGG\n....BBWW\n....BBWW\n",
         {{quad, {0, 0, 4, 4}, kStretch}, {quad, {4, 2, 4, 4}, kStretch}}},
        // Missing pixels and empty destinations draw nothing.
        {-1,
         "....\n....\n....\n....\n",
         {{nullptr, {0, 0, 4, 4}, kTile},
          {unloaded, {0, 0, 4, 4}, kTile},
          {quad, {0, 0, 0, 4}, kTile},
          {quad, {0, 0, 4, -4}, kStretch},
          {quad, {0, 0, 100000, 100000}, kStretch}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.picture);
        const OffscreenFrame frame{8, 6};
        frame.Draw(
            [&](LGDIRenderer& r)
            {
                for (const BitmapDraw& draw : c.draws)
                {
                    r.DrawBitmap(draw.bitmap, draw.destination, draw.resizeType);
                }
            });
        EXPECT_EQ(Colours(frame, c.picture), c.picture);
        if (c.renderings >= 0)
        {
            EXPECT_EQ(FilledEntries(frame.Renderer()->GetBitmapCache()), c.renderings);
        }
        // One rendering that serves every draw counts each use.
        if (c.renderings == 1)
        {
            EXPECT_EQ(frame.Renderer()->GetBitmapCache().GetEntry(0).useCount, c.draws.size());
        }
    }
}

TEST(GDIRendererBitmaps, AlphaIsComposedOverTheBackground)
{
    const RCPtr<LBitmap> glass = MakeBitmap(1, 1, {0x80000000u});
    const OffscreenFrame frame{8, 6};
    frame.Draw(
        [&](LGDIRenderer& r)
        {
            r.FillRect({0, 0, 8, 6}, ColorRGBA(kWhite), true);
            r.DrawBitmap(glass, {1, 1, 2, 2}, LRenderer::kResizeStretch);
        });
    EXPECT_EQ(frame.Pixel(2, 2), 0xFF7F7F7Fu);
    EXPECT_EQ(frame.Pixel(3, 3), kWhite);
}

TEST(GDIRendererBitmaps, InvalidResizeTypeThrowsWhenTheSizeDiffers)
{
    const OffscreenFrame frame{8, 6};
    frame.Start();
    const std::string text = ExceptionText(
        [&] {
            frame.Renderer()->DrawBitmap(MakeBitmap(2, 2, {R, G, B, W}), {0, 0, 3, 3}, 3);
        });
    frame.Finish();
    EXPECT_EQ(text.rfind("Invalid Argument : Invalid ResizeType passed to DrawBitmap. : "
                         "QZ::LGDIRenderer::DrawBitmap : ",
                         0),
              0u)
        << text;
    EXPECT_EQ(FilledEntries(frame.Renderer()->GetBitmapCache()), 0);
}

class GDIRendererPaths : public ::testing::Test
{
protected:
    static PolylineT<float> Line(const std::vector<PointT<float>>& points)
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

TEST_F(GDIRendererPaths, SegmentsPairThePointsAndAFilledPolygonUsesTheAlternateRule)
{
    using Drawing = void (LGDIRenderer::*)(PolylineT<float>&, const ColorRGBA&,
                                           const PointT<float>&, const PointT<float>&, bool);
    struct Case
    {
        Drawing draw;
        std::vector<PointT<float>> points;
        const char* picture;
    };
    // The odd last point of the segments is left out.
    const Case cases[] = {
        {&LGDIRenderer::DrawLineSegments,
         {{0, 0}, {3, 0}, {0, 2}, {5, 2}, {7, 5}},
         "###.....\n........\n#####...\n........\n........\n........\n"},
        {&LGDIRenderer::FillPolygon,
         {{1, 1}, {5, 1}, {5, 5}, {1, 5}},
         "........\n.####...\n.####...\n.####...\n.####...\n........\n"},
    };
    for (const Case& c : cases)
    {
        PolylineT<float> shape = Line(c.points);
        const OffscreenFrame frame{8, 6};
        frame.Draw([&](LGDIRenderer& r) { (r.*c.draw)(shape, mInk, mNoOffset, mUnit, true); });
        EXPECT_EQ(frame.Picture(kBlack), c.picture);
    }
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
