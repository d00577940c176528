#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionRect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace QZ
{
namespace
{

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Halves round away from zero; values beyond the range are limited and not-a-number gives the
// lowest value.
TEST(PointRounding, HalvesRoundAwayFromZeroAndOutsideValuesAreLimited)
{
    EXPECT_EQ((PointT<float>(1.5f, -1.5f).ToLong()), (PointT<std::int32_t>(2, -2)));
    EXPECT_EQ((PointT<double>(2.4999, -2.5).ToLong()), (PointT<std::int32_t>(2, -3)));
    EXPECT_EQ((PointT<double>(-0.4, 0.5).ToLong()), (PointT<std::int32_t>(0, 1)));
    EXPECT_EQ((PointT<double>(3e9, -3e9).ToLong()), (PointT<std::int32_t>(kMax, kMin)));
    EXPECT_EQ((PointT<double>(2147483647.6, -2147483648.0).ToLong()),
              (PointT<std::int32_t>(kMax, kMin)));
    EXPECT_EQ((PointT<float>(INFINITY, -INFINITY).ToLong()), (PointT<std::int32_t>(kMax, kMin)));
    EXPECT_EQ((PointT<float>(NAN, 1.0f).ToLong()), (PointT<std::int32_t>(kMin, 1)));
    EXPECT_EQ((RectT<double>(0.5, -0.5, 1e12, NAN).ToLong()),
              (RectT<std::int32_t>(1, -1, kMax, kMin)));
}

TEST(RectChecks, NonFiniteRectanglesAreRecognised)
{
    EXPECT_TRUE((RectT<double>(1, 2, -3, 4).IsFinite()));
    EXPECT_FALSE((RectT<double>(1, 2, INFINITY, 4).IsFinite()));
    EXPECT_FALSE((RectT<float>(NAN, 2, 3, 4).IsFinite()));
    EXPECT_TRUE((RectT<double>(1, 2, -3, 4).IsEmpty()));
    EXPECT_TRUE((RectT<double>(1, 2, 3, NAN).IsEmpty()));
    EXPECT_FALSE((RectT<std::int32_t>(0, 0, 1, 1).IsEmpty()));
}

// Negative extents are turned round; far edges are limited rather than wrapping.
TEST(RegionRectConversion, NegativeExtentsAreTurnedRoundAndFarEdgesLimited)
{
    EXPECT_EQ(RegionRect::FromRect({10, 20, -5, -8}), (RegionRect{5, 12, 10, 20}));
    EXPECT_EQ(RegionRect::FromRect({10, 20, 5, 8}), (RegionRect{10, 20, 15, 28}));
    EXPECT_EQ(RegionRect::FromRect({kMax - 10, kMin + 10, 100, -100}),
              (RegionRect{kMax - 10, kMin, kMax, kMin + 10}));
    EXPECT_EQ((RegionRect{kMin, 0, kMax, 1}.ToRect()), (RectT<std::int32_t>(kMin, 0, kMax, 1)));
    EXPECT_EQ((RegionRect{-5, 0, 7, 3}.ToRect()), (RectT<std::int32_t>(-5, 0, 12, 3)));
}

TEST(RegionRectOverlap, TouchingRectanglesDoNotOverlap)
{
    const RegionRect a{0, 0, 10, 10};
    EXPECT_TRUE(a.Overlaps({9, 9, 20, 20}));
    EXPECT_FALSE(a.Overlaps({10, 0, 20, 10}));
    EXPECT_FALSE(a.Overlaps({0, 10, 10, 20}));
    EXPECT_TRUE(a.Overlaps({-5, -5, 20, 20}));
    EXPECT_TRUE((RegionRect{3, 3, 4, 4}.Overlaps(a)));
}

} // namespace
} // namespace QZ
