#include "QZFramework/Utilities/Graphics/RegionNodePool.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace QZ
{
namespace
{

std::vector<RegionRect> Rects(const RegionT& region)
{
    return std::vector<RegionRect>(region.begin(), region.end());
}

RegionT RegionOf(std::initializer_list<RegionRect> rects)
{
    RegionT region;
    for (const RegionRect& r : rects)
    {
        region.AddRect(r);
    }
    return region;
}

std::int64_t Area(const RegionT& region)
{
    std::int64_t area = 0;
    for (const RegionRect& r : region)
    {
        area += std::int64_t{r.right - r.left} * (r.bottom - r.top);
    }
    return area;
}

TEST(RegionAdd, EmptyOrInvertedRectanglesChangeNothing)
{
    RegionT region = RegionOf({{0, 0, 10, 10}});
    region.AddRect({5, 5, 5, 20});
    region.AddRect({5, 5, 20, 5});
    region.AddRect({20, 20, 10, 10});
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 10, 10}}));
}

TEST(RegionAdd, CoveringRectangleReplacesTheOldOne)
{
    RegionT region = RegionOf({{10, 10, 20, 20}, {0, 0, 30, 30}});
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 30, 30}}));
}

TEST(RegionAdd, RectangleInsideSplitsTheOldOneIntoFourPiecesAfterTheNewOne)
{
    RegionT region = RegionOf({{0, 0, 30, 30}, {10, 10, 20, 20}});
    // The pieces go to the head as made (above, below, left, right), then the new rectangle.
    const std::vector<RegionRect> expected{
        {10, 10, 20, 20}, {20, 10, 30, 20}, {0, 10, 10, 20}, {0, 20, 30, 30}, {0, 0, 30, 10}};
    EXPECT_EQ(Rects(region), expected);
}

TEST(RegionSubtract, OverlapsMoveToTheRemovedRegion)
{
    RegionT region = RegionOf({{0, 0, 10, 10}, {20, 0, 30, 10}});
    RegionT removed;
    region.SubtractRect({5, 5, 25, 8}, &removed);
    EXPECT_EQ(Area(region), 200 - 2 * 15);
    EXPECT_EQ(Area(removed), 30);
    EXPECT_TRUE(removed.IntersectsRect({5, 5, 6, 6}));
    EXPECT_FALSE(region.IntersectsRect({5, 5, 10, 8}));
}

TEST(RegionSubtract, EmptyRectangleRemovesNothingAndSplitsNothing)
{
    RegionT region = RegionOf({{0, 0, 10, 10}});
    RegionT removed;
    region.SubtractRect({5, 5, 5, 5}, &removed);
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 10, 10}}));
    EXPECT_TRUE(removed.IsEmpty());
}

TEST(RegionSubtract, SubtractingARegionFromItselfEmptiesIt)
{
    RegionT region = RegionOf({{0, 0, 10, 10}, {10, 0, 20, 5}});
    RegionT removed;
    region.SubtractRegion(region, &removed);
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_EQ(Area(removed), 150);
}

TEST(RegionSubtract, MovingOverlapsIntoTheSameRegionChangesNothing)
{
    RegionT region = RegionOf({{0, 0, 10, 10}});
    region.SubtractRect({2, 2, 4, 4}, &region);
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 10, 10}}));
}

TEST(RegionIntersect, WithAnEmptyRegionLeavesNothing)
{
    RegionT region = RegionOf({{0, 0, 10, 10}});
    region.Intersect(RegionT());
    EXPECT_TRUE(region.IsEmpty());
}

TEST(RegionIntersect, WithItselfKeepsTheArea)
{
    RegionT region = RegionOf({{0, 0, 10, 10}, {5, 5, 15, 15}});
    const std::int64_t area = Area(region);
    region.Intersect(region);
    EXPECT_EQ(Area(region), area);
    RegionT copy(region);
    region.Intersect(copy);
    EXPECT_EQ(Area(region), area);
}

TEST(RegionAppend, KeepsOrderAndOverlaps)
{
    RegionT region = RegionOf({{0, 0, 10, 10}});
    RegionT other;
    other.AppendRects(RegionOf({{0, 0, 5, 5}}));
    other.AppendRects(region);
    EXPECT_EQ(Rects(other), (std::vector<RegionRect>{{0, 0, 10, 10}, {0, 0, 5, 5}}));
    other.AppendRects(other);
    EXPECT_EQ(other.GetRectCount(), 4u);
}

TEST(RegionBounds, EmptyRegionGivesFalseAndZeros)
{
    RegionRect bounds{1, 2, 3, 4};
    EXPECT_FALSE(RegionT().GetBounds(bounds));
    EXPECT_EQ(bounds, RegionRect{});
}

TEST(RegionBounds, SpanAllRectangles)
{
    RegionRect bounds;
    EXPECT_TRUE(RegionOf({{5, 0, 10, 3}, {-2, 4, 0, 9}}).GetBounds(bounds));
    EXPECT_EQ(bounds, (RegionRect{-2, 0, 10, 9}));
}

TEST(RegionRectArray, ReplacesTheArrayWithTheRectanglesInListOrder)
{
    Array<RectT<std::int32_t>> out;
    out.Add({9, 9, 9, 9});
    RegionOf({{0, 0, 10, 5}, {-4, 6, 2, 9}}).ToRectArray(out);
    ASSERT_EQ(out.GetCount(), 2);
    EXPECT_EQ(out.GetAt(0), (RectT<std::int32_t>(-4, 6, 6, 3)));
    EXPECT_EQ(out.GetAt(1), (RectT<std::int32_t>(0, 0, 10, 5)));
    RegionT().ToRectArray(out);
    EXPECT_EQ(out.GetCount(), 0);
}

TEST(RegionOffset, MovesEveryRectangleAndLimitsEdges)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    RegionT region = RegionOf({{0, 0, 10, 10}, {20, 0, 30, 10}});
    region.Offset(5, -5);
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{25, -5, 35, 5}, {5, -5, 15, 5}}));
    region.Offset(kMax, 0);
    EXPECT_EQ(Rects(region).front().right, kMax);
}

TEST(RegionHitTest, OffsetRectangleIsClippedAndRounded)
{
    const RegionT region = RegionOf({{10, 10, 20, 20}});
    EXPECT_TRUE(region.IntersectsOffsetRect({0, 0, 5, 5}, {8, 8}));
    EXPECT_FALSE(region.IntersectsOffsetRect({0, 0, 5, 5}, {0, 0}));
    // A right edge of 9.5 rounds up to the region's edge at 10, so the rectangle only touches it.
    EXPECT_FALSE(region.IntersectsOffsetRect({0.0, 0.0, 9.5, 9.5}, {0.0, 0.0}));
    EXPECT_TRUE(region.IntersectsOffsetRect({0.0, 0.0, 10.5, 10.5}, {0.0, 0.0}));
    EXPECT_FALSE(region.IntersectsOffsetRect({15, 15, 1e-17, 5}, {0, 0}));
    EXPECT_FALSE(region.IntersectsOffsetRect({NAN, 15, 5, 5}, {0, 0}));
    EXPECT_TRUE(region.IntersectsOffsetRect({-1e300, -1e300, 2e300, 2e300}, {0, 0}));
    // Everything left of or above 0 is cut away first.
    const RegionT negative = RegionOf({{-10, -10, -1, -1}});
    EXPECT_FALSE(negative.IntersectsOffsetRect({-20, -20, 30, 30}, {0, 0}));
}

TEST(RegionCopy, CopiesAreIndependent)
{
    RegionT original = RegionOf({{0, 0, 10, 10}});
    RegionT copy(original);
    copy.AddRect({20, 20, 30, 30});
    EXPECT_EQ(original.GetRectCount(), 1u);
    original = copy;
    EXPECT_EQ(original.GetRectCount(), 2u);
    RegionT moved(std::move(copy));
    EXPECT_EQ(moved.GetRectCount(), 2u);
    EXPECT_TRUE(copy.IsEmpty());
}

TEST(RegionCoalesce, SideBySideRectanglesBecomeOne)
{
    RegionT region = RegionOf({{0, 0, 10, 10}, {10, 0, 25, 10}});
    region.Coalesce();
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 25, 10}}));
}

TEST(RegionCoalesce, StackedRectanglesBecomeOne)
{
    RegionT region = RegionOf({{0, 10, 10, 20}, {0, 0, 10, 10}});
    region.Coalesce();
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 10, 20}}));
}

TEST(RegionCoalesce, SplitRectangleComesBackWhole)
{
    RegionT region = RegionOf({{0, 0, 30, 30}, {10, 10, 20, 20}});
    region.Coalesce();
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 30, 30}}));
}

TEST(RegionCoalesce, OverlapsLeftByAppendAreMerged)
{
    RegionT region;
    region.AppendRects(RegionOf({{0, 0, 10, 10}}));
    region.AppendRects(RegionOf({{5, 0, 15, 10}}));
    region.Coalesce();
    EXPECT_EQ(Rects(region), (std::vector<RegionRect>{{0, 0, 15, 10}}));
}

TEST(RegionCoalesce, BandsRunFromTopToBottomAndLeftToRight)
{
    // A tall rectangle with a small one beside its middle: three bands.
    RegionT region = RegionOf({{0, 0, 10, 30}, {10, 10, 20, 20}});
    region.Coalesce();
    const std::vector<RegionRect> expected{{0, 0, 10, 10}, {0, 10, 20, 20}, {0, 20, 10, 30}};
    EXPECT_EQ(Rects(region), expected);
}

TEST(RegionNodePool, NodesAreRecycledAndThePoolGrowsWhenAllAreTaken)
{
    const std::int32_t live = RegionNodePool::GetLiveCount();
    const std::int32_t blocks = RegionNodePool::GetBlockCount();
    std::vector<RegionNode*> nodes;
    const std::int32_t free = blocks * RegionNodePool::kBlockSlots - live;
    for (std::int32_t i = 0; i < free; ++i)
    {
        nodes.push_back(RegionNodePool::Allocate({0, 0, 1, 1}));
    }
    EXPECT_EQ(RegionNodePool::GetBlockCount(), blocks);
    nodes.push_back(RegionNodePool::Allocate({0, 0, 1, 1}));
    ASSERT_NE(nodes.back(), nullptr);
    EXPECT_EQ(RegionNodePool::GetBlockCount(), blocks + 1);
    EXPECT_EQ(RegionNodePool::GetLiveCount(), live + free + 1);
    EXPECT_GE(RegionNodePool::GetHighWaterCount(), live + free + 1);

    RegionNode* last = nodes.back();
    nodes.pop_back();
    RegionNodePool::Free(last);
    EXPECT_EQ(RegionNodePool::Allocate({2, 2, 3, 3}), last);
    EXPECT_EQ(last->rect, (RegionRect{2, 2, 3, 3}));
    EXPECT_EQ(last->next, nullptr);
    nodes.push_back(last);
    for (RegionNode* node : nodes)
    {
        RegionNodePool::Free(node);
    }
    EXPECT_EQ(RegionNodePool::GetLiveCount(), live);
    EXPECT_EQ(RegionNodePool::GetBlockCount(), blocks + 1);
}

TEST(RegionNodePool, ClearingARegionReturnsItsNodes)
{
    const std::int32_t live = RegionNodePool::GetLiveCount();
    {
        RegionT region = RegionOf({{0, 0, 30, 30}, {10, 10, 20, 20}});
        // Added rectangles take nodes once the region is read.
        EXPECT_EQ(RegionNodePool::GetLiveCount(), live);
        EXPECT_EQ(region.GetRectCount(), 5u);
        EXPECT_EQ(RegionNodePool::GetLiveCount(), live + 5);
        region.Clear();
        EXPECT_EQ(RegionNodePool::GetLiveCount(), live);
        region.AddRect({0, 0, 1, 1});
    }
    EXPECT_EQ(RegionNodePool::GetLiveCount(), live);
}

} // namespace
} // namespace QZ
