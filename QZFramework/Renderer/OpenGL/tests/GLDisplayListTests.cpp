// Geometry recorded into display lists and replayed until it changes, and polygons filled through
// the tessellator.
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;

PolylineT<float> Polygon(std::initializer_list<PointT<float>> points)
{
    PolylineT<float> polyline;
    for (const PointT<float>& point : points)
    {
        polyline.AddPoint(point);
    }
    return polyline;
}

const LGLDisplayList* Recording(const LGLRenderer::DisplayListCache& cache, std::int32_t key)
{
    for (std::int32_t i = 0; i < cache.GetCapacity(); ++i)
    {
        if (cache.GetEntry(i).key == key)
        {
            return cache.GetEntry(i).object.Get();
        }
    }
    return nullptr;
}

TEST(GLDisplayLists, ReplayedUntilTheSourceChanges)
{
    GLFrame frame(6, 4);
    LGLRenderer& renderer = frame.Renderer();
    PolylineT<float> box = Polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    const std::int32_t key = PolylineT<float>::GetHandle(box);
    const auto fill = [&](std::uint32_t argb)
    {
        frame.Draw(
            [&](LGLRenderer& r)
            {
                r.FillRect({0, 0, 6, 4}, ColorRGBA(), false);
                r.FillPolygon(box, ColorRGBA(argb), {1, 1}, {1, 1}, true);
            });
    };
    fill(kRed);
    const LGLDisplayList* first = Recording(renderer.GetPolygonFillCache(), key);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(box.IsChanged());
    // Unchanged: the same recording, in the colour of this call.
    fill(kGreen);
    EXPECT_EQ(Recording(renderer.GetPolygonFillCache(), key), first);
    EXPECT_EQ(frame.Map(kGreen), "......\n.##...\n.##...\n......\n");
    // Changed: recorded again.
    box.SetPoint(1, {4, 0});
    box.SetPoint(2, {4, 2});
    fill(kGreen);
    EXPECT_EQ(frame.Map(kGreen), "......\n.####.\n.####.\n......\n");
    // Without keepCached the recording is dropped.
    frame.Draw([&](LGLRenderer& r) { r.FillPolygon(box, ColorRGBA(kRed), {0, 0}, {1, 1}, false); });
    EXPECT_EQ(Recording(renderer.GetPolygonFillCache(), key), nullptr);
}

TEST(GLDisplayLists, FillAndOutlineOfOnePolygonStayInStep)
{
    GLFrame frame(12, 12);
    PolylineT<float> square = Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    const auto draw = [&]
    {
        frame.Draw(
            [&](LGLRenderer& r)
            {
                r.FillRect({0, 0, 12, 12}, ColorRGBA(), false);
                r.FillPolygon(square, ColorRGBA(kGreen), {1, 1}, {1, 1}, true);
                r.DrawPolygon(square, ColorRGBA(kRed), {1.5f, 1.5f}, {1, 1}, true);
            });
    };
    draw();
    // The fill took the changed flag of the moved polygon; the outline follows all the same.
    square.RemoveAll();
    for (const PointT<float>& p : {PointT<float>{4, 4}, {9, 4}, {9, 9}, {4, 9}})
    {
        square.AddPoint(p);
    }
    draw();
    EXPECT_EQ(frame.Pixel(5, 1), 0u) << "an outline of the old square";
    EXPECT_EQ(frame.Pixel(5, 5) >> 24, 0xFFu);
    EXPECT_EQ(frame.Pixel(10, 7) >> 24, 0xFFu);
}

TEST(GLDisplayLists, ColourListsReplayAndKeepTheFirstRectangleOnTop)
{
    GLFrame frame(6, 2);
    ColorRectListT<float> rects;
    rects.Add({0, 0, 2, 2}, kRed);
    rects.Add({1, 0, 3, 2}, kGreen);
    for (int pass = 0; pass < 2; ++pass)
    {
        frame.Draw([&](LGLRenderer& r) { r.FillColorRects(rects, {1, 0}, true); });
        EXPECT_EQ(frame.Map(kRed), ".##...\n.##...\n") << pass;
        EXPECT_EQ(frame.Map(kGreen), "...##.\n...##.\n") << pass;
    }
    EXPECT_NE(
        Recording(frame.Renderer().GetColorRectsCache(), ColorRectListT<float>::GetHandle(rects)),
        nullptr);
}

TEST(GLDisplayLists, CallsOutsideTheRangeFail)
{
    GLFrame frame(1, 1);
    EXPECT_TRUE(LGLDisplayList::Create(0).IsNull());
    const RCPtr<LGLDisplayList> list = LGLDisplayList::Create(1);
    EXPECT_EQ(list->Call(0, 1), E_FAIL) << "nothing recorded";
    frame.Draw(
        [&](LGLRenderer&)
        {
            ASSERT_EQ(list->BeginCompile(0), S_OK);
            list->EndCompile();
        });
    EXPECT_EQ(list->Call(0, 2), E_INVALIDARG);
    EXPECT_EQ(list->Call(1, 1), E_INVALIDARG);
    EXPECT_EQ(list->Call(0, 1), S_OK);
}

TEST(GLTessellation, FillsByOddWindingAlsoWhereTheOutlineCrossesItself)
{
    struct Case
    {
        const char* name;
        PolylineT<float> polygon;
        const char* map;
    };
    const Case cases[] = {
        {"anticlockwise", Polygon({{0, 0}, {0, 4}, {4, 4}, {4, 0}}),
         "####....\n####....\n####....\n####....\n"},
        {"clockwise", Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}}),
         "####....\n####....\n####....\n####....\n"},
        // A bow-tie: the crossing point is made by the combine callback.
        {"self-intersecting", Polygon({{0, 0}, {8, 4}, {8, 0}, {0, 4}}),
         "#......#\n###..###\n###..###\n#......#\n"},
    };
    for (const Case& c : cases)
    {
        GLFrame frame(8, 4);
        PolylineT<float> polygon = c.polygon;
        frame.Draw(
            [&](LGLRenderer& r) {
                r.FillPolygon(polygon, ColorRGBA(kRed), {0, 0}, {1, 1}, false);
            });
        EXPECT_EQ(frame.Map(kRed), c.map) << c.name;
    }
}

} // namespace
} // namespace QZ::Testing
