// What the OpenGL renderer draws where: fills without blending, closed outlines, bitmaps cut at
// their destination, the scissor box of the clip, and pictures of off-screen surfaces.
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>

namespace QZ::Testing
{
namespace
{

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

std::string ExceptionText(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return "no exception";
}

TEST(GLDrawing, FillWithoutBlendWritesTheColourWithinTheClip)
{
    GLFrame frame(8, 4);
    frame.Draw(
        [](LGLRenderer& r)
        {
            r.FillRect({0, 0, 8, 4}, ColorRGBA(kBlue), false);
            r.PushClip({0, 0, 8, 4}, {0, 0, 5, 4}, nullptr, true);
            r.FillRect({2, 1, 5, 2}, ColorRGBA(0x80FF0000u), false);
            r.PopState();
        });
    EXPECT_EQ(frame.Pixel(2, 1), 0x80FF0000u);
    EXPECT_EQ(frame.Map(0x80FF0000u), "........\n"
                                      "..###...\n"
                                      "..###...\n"
                                      "........\n");
}

TEST(GLDrawing, BitmapsAreCutAtTheirDestination)
{
    const RCPtr<LBitmap> red = LBitmap::CreateFilledBitmap({2, 2}, ColorRGBA(kRed));
    const RCPtr<LBitmap> wide = LBitmap::CreateFilledBitmap({6, 4}, ColorRGBA(kRed));
    struct Case
    {
        const char* name;
        RCPtr<LBitmap> bitmap;
        RectT<std::int32_t> destination;
        std::int32_t type;
        const char* map;
    };
    const Case cases[] = {
        {"tiles",
         red,
         {1, 1, 5, 3},
         LRenderer::kResizeTile,
         "........\n.#####..\n.#####..\n.#####..\n........\n"},
        {"centred, larger than its box",
         wide,
         {2, 1, 3, 3},
         LRenderer::kResizeCenter,
         "........\n..###...\n..###...\n..###...\n........\n"},
        {"centred, smaller than its box",
         red,
         {1, 0, 5, 5},
         LRenderer::kResizeCenter,
         "........\n..##....\n..##....\n........\n........\n"},
    };
    for (const Case& c : cases)
    {
        GLFrame frame(8, 5);
        frame.Draw([&](LGLRenderer& r) { r.DrawBitmap(c.bitmap, c.destination, c.type); });
        EXPECT_EQ(frame.Map(kRed), c.map) << c.name;
    }
}

TEST(GLDrawing, BadBitmapsAndResizeTypes)
{
    GLFrame frame(4, 4);
    const RCPtr<LBitmap> missing(new LBitmap(u"no-such-image.png", u""));
    const RCPtr<LBitmap> red = LBitmap::CreateFilledBitmap({2, 2}, ColorRGBA(kRed));
    frame.Draw(
        [&](LGLRenderer& r)
        {
            // A bitmap without pixels draws nothing, also when tiled.
            EXPECT_EQ(ExceptionText(
                          [&] {
                              r.DrawBitmap(missing, {0, 0, 4, 4}, 1);
                          }),
                      "no exception");
            EXPECT_EQ(ExceptionText(
                          [&] {
                              r.DrawBitmap(nullptr, {0, 0, 4, 4}, 0);
                          })
                          .rfind("Failed Result : QZRESULT = 80070057 : "
                                 "QZ::LGLRenderer::DrawBitmap : ",
                                 0),
                      0u);
            EXPECT_EQ(ExceptionText(
                          [&] {
                              r.DrawBitmap(red, {0, 0, 3, 3}, 3);
                          })
                          .rfind("Logic Error : Invalid ResizeType passed to DrawBitmap! : "
                                 "QZ::LGLRenderer::DrawBitmap : ",
                                 0),
                      0u);
            // At its own size the type is not looked at.
            EXPECT_EQ(ExceptionText([&] { r.DrawBitmap(red, {0, 0, 2, 2}, 3); }), "no exception");
        });
    EXPECT_EQ(frame.Map(kRed), "##..\n##..\n....\n....\n");
}

TEST(GLDrawing, ScissorFollowsTheClipAndOrigin)
{
    struct Case
    {
        const char* name;
        RectT<double> frame;
        RectT<double> clip;
        const char* map;
    };
    const Case cases[] = {
        {"inside", {1, 1, 4, 3}, {1, 1, 2, 2}, "......\n.##...\n.##...\n......\n"},
        {"overhanging the left edge",
         {-3, 0, 6, 4},
         {-3, 1, 5, 1},
         "......\n##....\n......\n......\n"},
        {"left of the viewport", {-9, 0, 6, 4}, {-9, 0, 6, 4}, "......\n......\n......\n......\n"},
        {"zero width", {1, 1, 4, 3}, {1, 1, 0, 2}, "......\n......\n......\n......\n"},
    };
    for (const Case& c : cases)
    {
        GLFrame frame(6, 4);
        frame.Draw(
            [&](LGLRenderer& r)
            {
                r.PushClip(c.frame, c.clip, nullptr, true);
                r.FillRect({-20, -20, 60, 60}, ColorRGBA(kRed), true);
                r.PopState();
            });
        EXPECT_EQ(frame.Map(kRed), c.map) << c.name;
    }
}

TEST(GLDrawing, PolygonOutlinesAreClosed)
{
    GLFrame frame(12, 12);
    PolylineT<float> square;
    for (const PointT<float>& p : {PointT<float>{2, 2}, {9, 2}, {9, 9}, {2, 9}})
    {
        square.AddPoint(p);
    }
    frame.Draw(
        [&](LGLRenderer& r) {
            r.DrawPolygon(square, ColorRGBA(kRed), {0.5f, 0.5f}, {1, 1}, false);
        });
    // The closing side runs down x = 2.5, through the middle of column 2.
    EXPECT_EQ(frame.Pixel(2, 5) >> 24, 0xFFu);
    EXPECT_EQ(frame.Pixel(9, 5) >> 24, 0xFFu);
    EXPECT_EQ(frame.Pixel(5, 5), 0u);
}

TEST(GLDrawing, SurfacesAreDrawnAndScrolledFromTheirPicture)
{
    GLFrame frame(6, 6);
    LGLRenderer& renderer = frame.Renderer();
    RCPtr<LRenderContextInfo> surface;
    ASSERT_EQ(renderer.InitRenderContextInfo({0, 0, 4, 4}, nullptr, true, surface), S_OK);
    RCPtr<LRenderContextInfo> window;
    ASSERT_EQ(renderer.InitRenderContextInfo({0, 0, 4, 4}, nullptr, false, window), S_OK);
    LGDIRenderer gdi;
    RCPtr<LRenderContextInfo> gdiSurface;
    ASSERT_EQ(gdi.InitRenderContextInfo({0, 0, 4, 4}, nullptr, true, gdiSurface), S_OK);

    frame.Draw(
        [&](LGLRenderer& r)
        {
            // A new surface's picture is transparent.
            EXPECT_EQ(r.DrawSurface(surface, {0, 0}, {0, 0, 4, 4}), S_OK);
            EXPECT_EQ(r.DrawSurface(window, {0, 0}, {0, 0, 4, 4}), E_INVALIDARG);
            EXPECT_EQ(r.DrawSurface(gdiSurface, {0, 0}, {0, 0, 4, 4}), E_INVALIDARG);
            EXPECT_EQ(r.ScrollSurface(gdiSurface, {0, 0}), E_INVALIDARG);
            EXPECT_EQ(r.DrawSurface(frame.Context(), {0, 0}, {0, 0, 4, 4}), E_FAIL)
                << "the picture being drawn";
        });
    EXPECT_EQ(frame.Map(0u), "######\n######\n######\n######\n######\n######\n");
    // A nested frame on the surface, inside a frame of the main picture.
    frame.Draw(
        [&](LGLRenderer& r)
        {
            (void)r.RenderStart(surface);
            r.FillRect({0, 0, 4, 4}, ColorRGBA(kBlue), false);
            r.FillRect({0, 0, 1, 1}, ColorRGBA(kRed), false);
            (void)r.RenderFinish(surface);
            EXPECT_EQ(r.ScrollSurface(surface, {2, 1}), S_OK);
            EXPECT_EQ(r.DrawSurface(surface, {1, 1}, {1, 0, 3, 3}), S_OK);
            r.FillRect({5, 5, 1, 1}, ColorRGBA(kRed), true);
        });
    // The scroll left the uncovered pixels alone and put the red pixel at (2, 1); the copy of
    // (1, 0, 3, 3) landed at (1, 1).
    EXPECT_EQ(frame.Map(kRed), "......\n"
                               "......\n"
                               "..#...\n"
                               "......\n"
                               "......\n"
                               ".....#\n");
    EXPECT_EQ(frame.Pixel(1, 1), kBlue);
}

} // namespace
} // namespace QZ::Testing
