#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <gtest/gtest.h>

namespace QZ
{
namespace
{

TEST(Polyline, EveryPolylineAndEveryCopyHasItsOwnHandle)
{
    PolylineT<float> first;
    PolylineT<float> second;
    first.AddPoint({1, 2});
    first.SetLineWidth(3);
    const PolylineT<float> copy(first);
    EXPECT_NE(PolylineT<float>::GetHandle(first), PolylineT<float>::GetHandle(second));
    EXPECT_NE(PolylineT<float>::GetHandle(first), PolylineT<float>::GetHandle(copy));
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(copy.GetLineWidth(), 3.0f);
    EXPECT_TRUE(copy.IsChanged());

    const std::int32_t handle = PolylineT<float>::GetHandle(second);
    second = first;
    EXPECT_EQ(PolylineT<float>::GetHandle(second), handle);
    EXPECT_EQ(second.GetPoints().GetAt(0), (PointT<float>{1, 2}));
}

TEST(Polyline, PointChangesSetTheFlagThatADrawTakes)
{
    PolylineT<float> polyline;
    EXPECT_TRUE(polyline.TakeChanged());
    EXPECT_FALSE(polyline.TakeChanged());
    polyline.SetLineWidth(2);
    EXPECT_FALSE(polyline.IsChanged());
    polyline.AddPoint({0, 0});
    EXPECT_TRUE(polyline.TakeChanged());
    polyline.SetPoint(0, {4, 4});
    EXPECT_TRUE(polyline.TakeChanged());
    polyline.RemoveAll();
    EXPECT_TRUE(polyline.TakeChanged());
    EXPECT_EQ(polyline.GetCount(), 0);
}

TEST(ColorRectList, KeepsRectanglesWithTheirColoursAndOneScale)
{
    ColorRectListT<float> list;
    EXPECT_EQ(list.GetScaleX(), 1.0f);
    list.Add({1, 2, 3, 4}, 0x80FF0000u);
    list.Add({5, 6, 7, 8}, 0xFF00FF00u);
    list.SetScale(2.0f, 0.5f);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetRect(1), (RectT<float>{5, 6, 7, 8}));
    EXPECT_EQ(list.GetColor(0), 0x80FF0000u);
    EXPECT_EQ(list.GetScaleY(), 0.5f);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}

} // namespace
} // namespace QZ
