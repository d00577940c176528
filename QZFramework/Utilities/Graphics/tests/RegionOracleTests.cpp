// Region algebra checked pixel by pixel against a plain bitmap of the same area.
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

constexpr int kSize = 40;

// How many of a region's rectangles cover each pixel: 1 where the region is, 0 elsewhere, and
// more than 1 where rectangles overlap.
using Coverage = std::array<std::array<std::uint8_t, kSize>, kSize>;
using Bitmap = std::array<std::array<bool, kSize>, kSize>;

Coverage CoverageOf(const RegionT& region)
{
    Coverage coverage{};
    for (const RegionRect& r : region)
    {
        EXPECT_FALSE(r.IsEmpty());
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kSize && r.bottom <= kSize);
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, kSize); ++y)
        {
            for (int x = std::max(r.left, 0); x < std::min(r.right, kSize); ++x)
            {
                ++coverage[y][x];
            }
        }
    }
    return coverage;
}

void Paint(Bitmap& bitmap, const RegionRect& r, bool value)
{
    for (int y = r.top; y < r.bottom; ++y)
    {
        for (int x = r.left; x < r.right; ++x)
        {
            bitmap[y][x] = value;
        }
    }
}

// Every pixel once where the bitmap is set, never elsewhere.
::testing::AssertionResult Matches(const RegionT& region, const Bitmap& bitmap)
{
    const Coverage coverage = CoverageOf(region);
    for (int y = 0; y < kSize; ++y)
    {
        for (int x = 0; x < kSize; ++x)
        {
            if (coverage[y][x] != (bitmap[y][x] ? 1 : 0))
            {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") covered " << int(coverage[y][x])
                       << " times, expected " << bitmap[y][x];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Top band first, each band left to right, no two rectangles of a band touching.
::testing::AssertionResult InBandOrder(const RegionT& region)
{
    const std::vector<RegionRect> rects(region.begin(), region.end());
    for (std::size_t i = 1; i < rects.size(); ++i)
    {
        const RegionRect& a = rects[i - 1];
        const RegionRect& b = rects[i];
        if (!(a.top < b.top || (a.top == b.top && a.right < b.left)))
        {
            return ::testing::AssertionFailure()
                   << "rectangles " << i - 1 << " (" << a.left << ", " << a.top << ", " << a.right
                   << ", " << a.bottom << ") and " << i << " (" << b.left << ", " << b.top << ", "
                   << b.right << ", " << b.bottom << ") out of band order or touching";
        }
    }
    return ::testing::AssertionSuccess();
}

class RegionOracle : public ::testing::Test
{
protected:
    // Mostly small rectangles, sometimes empty or inverted ones.
    RegionRect RandomRect()
    {
        std::uniform_int_distribution<int> coordinate(0, kSize);
        std::uniform_int_distribution<int> extent(-2, 14);
        const int left = coordinate(mRandom);
        const int top = coordinate(mRandom);
        return {left, top, std::min(left + extent(mRandom), kSize),
                std::min(top + extent(mRandom), kSize)};
    }

    RegionT RandomRegion(Bitmap& bitmap)
    {
        bitmap = Bitmap{};
        RegionT region;
        const int count = std::uniform_int_distribution<int>(0, 6)(mRandom);
        for (int i = 0; i < count; ++i)
        {
            const RegionRect r = RandomRect();
            region.AddRect(r);
            Paint(bitmap, r, true);
        }
        return region;
    }

    int RandomOperation() { return std::uniform_int_distribution<int>(0, 5)(mRandom); }

    std::mt19937 mRandom{20240611};
};

TEST_F(RegionOracle, RandomAddSubtractAndIntersectMatchTheBitmapEverywhere)
{
    for (int round = 0; round < 40; ++round)
    {
        RegionT region;
        Bitmap expected{};
        for (int step = 0; step < 60; ++step)
        {
            const int operation = RandomOperation();
            SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) +
                         " operation " + std::to_string(operation));
            if (operation <= 1)
            {
                const RegionRect r = RandomRect();
                region.AddRect(r);
                Paint(expected, r, true);
            }
            else if (operation == 2)
            {
                const RegionRect r = RandomRect();
                RegionT removed;
                region.SubtractRect(r, &removed);
                Bitmap overlap{};
                for (int y = std::max(r.top, 0); y < r.bottom; ++y)
                {
                    for (int x = std::max(r.left, 0); x < r.right; ++x)
                    {
                        overlap[y][x] = expected[y][x];
                    }
                }
                ASSERT_TRUE(Matches(removed, overlap));
                Paint(expected, r, false);
            }
            else if (operation == 3)
            {
                Bitmap otherBitmap;
                const RegionT other = RandomRegion(otherBitmap);
                region.SubtractRegion(other);
                for (int y = 0; y < kSize; ++y)
                {
                    for (int x = 0; x < kSize; ++x)
                    {
                        expected[y][x] = expected[y][x] && !otherBitmap[y][x];
                    }
                }
            }
            else if (operation == 4)
            {
                Bitmap otherBitmap;
                const RegionT other = RandomRegion(otherBitmap);
                region.Intersect(other);
                for (int y = 0; y < kSize; ++y)
                {
                    for (int x = 0; x < kSize; ++x)
                    {
                        expected[y][x] = expected[y][x] && otherBitmap[y][x];
                    }
                }
            }
            else
            {
                region.Coalesce();
            }
            ASSERT_TRUE(Matches(region, expected));
            const RegionRect probe = RandomRect();
            bool any = false;
            for (int y = probe.top; y < probe.bottom; ++y)
            {
                for (int x = probe.left; x < probe.right; ++x)
                {
                    any = any || expected[y][x];
                }
            }
            ASSERT_EQ(region.IntersectsRect(probe), any);
        }
    }
}

TEST_F(RegionOracle, CoalesceKeepsTheAreaAndLeavesBandsWithoutTouchingNeighbours)
{
    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        RegionT region;
        Bitmap expected{};
        const int count = std::uniform_int_distribution<int>(1, 25)(mRandom);
        for (int i = 0; i < count; ++i)
        {
            const RegionRect r = RandomRect();
            if (RandomOperation() == 0)
            {
                region.SubtractRect(r);
                Paint(expected, r, false);
            }
            else
            {
                region.AddRect(r);
                Paint(expected, r, true);
            }
        }
        region.Coalesce();
        ASSERT_TRUE(Matches(region, expected));
        ASSERT_TRUE(InBandOrder(region));
    }
}

// Runs of hundreds of additions or subtractions are swept at once: the area is the same as one
// by one, left in bands, also with a subtraction run between two addition runs and a short run
// (carried out one by one) in between.
TEST_F(RegionOracle, LongRunsOfChangesKeepTheAreaAndLeaveBands)
{
    for (int round = 0; round < 6; ++round)
    {
        RegionT region;
        Bitmap expected{};
        // A fifth of the random rectangles are empty and never collected.
        for (const int run : {600, 3, 700, 500, 1})
        {
            const bool add = run != 700;
            for (int i = 0; i < run; ++i)
            {
                const RegionRect r = RandomRect();
                add ? region.AddRect(r) : region.SubtractRect(r);
                Paint(expected, r, add);
            }
            SCOPED_TRACE("round " + std::to_string(round) + " run " + std::to_string(run));
            ASSERT_TRUE(Matches(region, expected));
            if (run >= 500)
            {
                ASSERT_TRUE(InBandOrder(region));
            }
        }
    }
}

} // namespace
} // namespace QZ
