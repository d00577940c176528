// The grid must offer every box that meets a search's area, in paint order and once, whatever the
// boxes' sizes and places; offering more is allowed. Each case is checked against a walk over all
// boxes on random layouts, with areas inside, across and outside the boxes.
#include "QZFramework/ControlBase/ChildBoxGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace QZ
{
namespace
{

bool Meets(const ChildBox& box, double left, double top, double right, double bottom)
{
    return box.left <= right && box.right > left && box.top <= bottom && box.bottom > top;
}

TEST(ChildBoxGrid, OffersEveryBoxMeetingTheAreaInPaintOrderOnce)
{
    struct Layout
    {
        std::size_t count;
        std::int32_t extent;   // boxes lie in [-extent / 4, extent)
        std::int32_t largest;  // the largest box side
        int apart;             // one box in `apart` is not contained or not clipped
    };
    // Below the grid's threshold, at it, many small boxes, a few huge ones among small ones,
    // boxes far apart.
    const Layout layouts[] = {{LChildBoxGrid::kMinBoxes - 1, 300, 40, 5},
                              {LChildBoxGrid::kMinBoxes, 300, 40, 0},
                              {1000, 1200, 30, 0},
                              {400, 800, 900, 7},
                              {200, 1000000, 50, 0}};
    std::mt19937 random(47);
    for (const Layout& layout : layouts)
    {
        std::uniform_int_distribution<std::int32_t> place(-layout.extent / 4, layout.extent);
        std::uniform_int_distribution<std::int32_t> side(1, layout.largest);
        std::vector<ChildBox> boxes(layout.count);
        for (std::size_t i = 0; i < boxes.size(); ++i)
        {
            ChildBox& box = boxes[i];
            box.left = place(random);
            box.top = place(random);
            box.right = box.left + side(random);
            box.bottom = box.top + side(random);
            box.contained = layout.apart == 0 || i % layout.apart != 1;
            box.clipped = layout.apart == 0 || i % layout.apart != 2;
        }
        LChildBoxGrid grid;
        grid.Build(boxes);
        for (int search = 0; search < 1600; ++search)
        {
            // Points, small areas and areas wider than the layout; half of them start at a
            // box's last pixel or one past it.
            const ChildBox& edge = boxes[static_cast<std::size_t>(search) % boxes.size()];
            const bool atEdge = search % 2 == 0;
            const double left = atEdge ? edge.right - 1 + search % 4 / 2 : place(random) + 0.5;
            const double top = atEdge ? edge.bottom - 1 + search % 8 / 4 : place(random);
            const double width = search % 3 == 0 ? 0.0 : side(random) * (search % 7 + 1);
            const double height = search % 3 == 0 ? 0.0 : side(random);
            const auto first = static_cast<std::uint32_t>(search % 4 == 1 ? layout.count / 3 : 0);
            const auto end = static_cast<std::uint32_t>(
                search % 4 == 2 ? layout.count / 2 : layout.count);
            std::vector<std::uint32_t> offered;
            grid.ForEachNear(left, top, left + width, top + height, first, end,
                             [&](std::uint32_t position) { offered.push_back(position); });
            std::vector<std::uint32_t> reversed;
            grid.ForEachAtReversed(left, top,
                                   [&](std::uint32_t position) { reversed.push_back(position); });
            for (std::size_t i = 1; i < offered.size(); ++i)
            {
                ASSERT_LT(offered[i - 1], offered[i]);
            }
            for (std::size_t i = 1; i < reversed.size(); ++i)
            {
                ASSERT_GT(reversed[i - 1], reversed[i]);
            }
            std::vector<int> timesOffered(boxes.size());
            std::vector<int> timesReversed(boxes.size());
            for (const std::uint32_t position : offered)
            {
                ++timesOffered[position];
            }
            for (const std::uint32_t position : reversed)
            {
                ++timesReversed[position];
            }
            for (std::uint32_t i = 0; i < boxes.size(); ++i)
            {
                const bool always = !boxes[i].contained || !boxes[i].clipped;
                const bool near = always || Meets(boxes[i], left, top, left + width, top + height);
                const bool at = always || Meets(boxes[i], left, top, left, top);
                const bool inRange = i >= first && i < end;
                const int times = timesOffered[i];
                const int timesAt = timesReversed[i];
                ASSERT_LE(times, inRange ? 1 : 0) << "box " << i << ", search " << search;
                ASSERT_LE(timesAt, 1) << "box " << i << ", search " << search;
                ASSERT_TRUE(!(near && inRange) || times == 1)
                    << "layout of " << layout.count << ", box " << i << ", search " << search;
                ASSERT_TRUE(!at || timesAt == 1)
                    << "layout of " << layout.count << ", box " << i << ", search " << search;
            }
        }
        // An area that is no number is searched by visiting every position.
        std::vector<std::uint32_t> all;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        grid.ForEachNear(nan, 0.0, 1.0, 1.0, 0, static_cast<std::uint32_t>(layout.count),
                         [&](std::uint32_t position) { all.push_back(position); });
        EXPECT_EQ(all.size(), layout.count);
    }
}

} // namespace
} // namespace QZ
