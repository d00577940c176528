// Long steps of collected changes are swept at once; short ones are carried out rectangle by
// rectangle. Both are checked against the banded form worked out from a plain bitmap.
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

constexpr int kWidth = 160;
constexpr int kHeight = 100;

using Bitmap = std::vector<std::vector<bool>>;

// Where grid lines land. The banded form depends only on the order of the edges, so spreading
// them over the whole 32-bit range must give the same rectangles, spread alike.
struct Placement
{
    std::int64_t scaleX;
    std::int64_t scaleY;
    std::int64_t originX;
    std::int64_t originY;

    std::int32_t X(int x) const { return static_cast<std::int32_t>(originX + scaleX * x); }
    std::int32_t Y(int y) const { return static_cast<std::int32_t>(originY + scaleY * y); }
    RegionRect Place(const RegionRect& r) const
    {
        return {X(r.left), Y(r.top), X(r.right), Y(r.bottom)};
    }
};

// The banded form from the pixels: each row's runs, a rectangle growing down as long as the rows
// below hold exactly its run; top band first, each band left to right.
std::vector<RegionRect> BandsOf(const Bitmap& bitmap, const Placement& at)
{
    std::vector<RegionRect> done;
    std::vector<RegionRect> open;
    for (int y = 0; y <= kHeight; ++y)
    {
        std::vector<RegionRect> next;
        for (int x = 0; y < kHeight && x < kWidth;)
        {
            if (!bitmap[y][x])
            {
                ++x;
                continue;
            }
            const int left = x;
            while (x < kWidth && bitmap[y][x])
            {
                ++x;
            }
            next.push_back({left, y, x, y + 1});
        }
        for (RegionRect& r : next)
        {
            for (const RegionRect& o : open)
            {
                if (o.left == r.left && o.right == r.right)
                {
                    r.top = o.top;
                }
            }
        }
        for (const RegionRect& o : open)
        {
            const bool continues = std::any_of(next.begin(), next.end(), [&o](const RegionRect& r)
                                               { return r.left == o.left && r.right == o.right; });
            if (!continues)
            {
                done.push_back(o);
            }
        }
        open = next;
    }
    std::sort(done.begin(), done.end(), [](const RegionRect& a, const RegionRect& b)
              { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    for (RegionRect& r : done)
    {
        r = at.Place(r);
    }
    return done;
}

struct SweepCase
{
    int additions;
    int subtractions;
    int maxExtent;
    Placement at;
};

// A step of additions and then subtractions, read once (a step of more than 64 changes is
// swept), against the same changes each read at once (so carried out rectangle by rectangle).
TEST(RegionSweep, LongStepsGiveTheBandsOfTheRectangleByRectangleResult)
{
    const Placement plain{1, 1, 0, 0};
    const Placement spread{13'000'000, 40'000'000, -2'100'000'000, -2'000'000'000};
    const std::vector<SweepCase> cases{
        {64, 0, 30, plain},    {65, 0, 30, plain},     {50, 14, 30, plain},
        {50, 15, 30, plain},   {100, 33, 30, plain},   {300, 0, 20, plain},
        {300, 100, 24, plain}, {1000, 300, 12, plain}, {3000, 0, 6, plain},
        {0, 200, 30, plain},   {300, 100, 24, spread}, {1000, 0, 8, spread}};
    std::mt19937 random(47);
    for (const SweepCase& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.additions) + " additions, " +
                     std::to_string(c.subtractions) + " subtractions, extent " +
                     std::to_string(c.maxExtent) + (c.at.scaleX == 1 ? "" : ", spread"));
        // No rectangle is empty, so each counts towards the step's length.
        std::uniform_int_distribution<int> extent(1, c.maxExtent);
        std::uniform_int_distribution<int> column(0, kWidth - 1);
        std::uniform_int_distribution<int> row(0, kHeight - 1);
        Bitmap bitmap(kHeight, std::vector<bool>(kWidth, false));
        RegionT swept;
        RegionT oneByOne;
        for (int i = 0; i < c.additions + c.subtractions; ++i)
        {
            const int left = column(random);
            const int top = row(random);
            const RegionRect grid{left, top, std::min(left + extent(random), kWidth),
                                  std::min(top + extent(random), kHeight)};
            const bool add = i < c.additions;
            for (int y = grid.top; y < grid.bottom; ++y)
            {
                for (int x = grid.left; x < grid.right; ++x)
                {
                    bitmap[y][x] = add;
                }
            }
            const RegionRect r = c.at.Place(grid);
            add ? swept.AddRect(r) : swept.SubtractRect(r);
            add ? oneByOne.AddRect(r) : oneByOne.SubtractRect(r);
            // Reading carries out the change collected so far on its own.
            static_cast<void>(oneByOne.IsEmpty());
        }
        const std::vector<RegionRect> bands = BandsOf(bitmap, c.at);
        const std::vector<RegionRect> sweptRects(swept.begin(), swept.end());
        if (c.additions + c.subtractions <= 64)
        {
            EXPECT_EQ(sweptRects, std::vector<RegionRect>(oneByOne.begin(), oneByOne.end()));
        }
        else
        {
            EXPECT_EQ(sweptRects, bands);
        }
        // The rectangle-by-rectangle result covers the same area (its rectangles never overlap,
        // as the bitmap tests of the other operations show).
        oneByOne.Coalesce();
        EXPECT_EQ(std::vector<RegionRect>(oneByOne.begin(), oneByOne.end()), bands);
        // Already banded, the swept region stays as it is, also in a copy.
        RegionT copy(swept);
        copy.Coalesce();
        EXPECT_EQ(std::vector<RegionRect>(copy.begin(), copy.end()), bands);
    }
}

// A swept region is banded, so Coalesce leaves it alone; any change after the sweep that can
// break the bands must make Coalesce band it again.
TEST(RegionSweep, ChangesAfterASweepAreBandedAgainByCoalesce)
{
    const Placement plain{1, 1, 0, 0};
    const RegionRect piece{30, 20, 70, 45};
    const auto regionOfPiece = [&piece]
    {
        RegionT other;
        other.AddRect(piece);
        return other;
    };
    struct Change
    {
        const char* name;
        std::function<void(RegionT&)> apply;
        bool (*pixel)(bool was, bool inPiece);
    };
    const std::vector<Change> changes{
        {"add", [&](RegionT& region) { region.AddRect(piece); },
         [](bool was, bool in) { return was || in; }},
        {"subtract into a removed region",
         [&](RegionT& region)
         {
             RegionT removed;
             region.SubtractRect(piece, &removed);
         },
         [](bool was, bool in) { return was && !in; }},
        {"intersect", [&](RegionT& region) { region.Intersect(regionOfPiece()); },
         [](bool was, bool in) { return was && in; }},
        {"append", [&](RegionT& region) { region.AppendRects(regionOfPiece()); },
         [](bool was, bool in) { return was || in; }}};
    for (const Change& change : changes)
    {
        SCOPED_TRACE(change.name);
        std::mt19937 random(61);
        Bitmap bitmap(kHeight, std::vector<bool>(kWidth, false));
        RegionT region;
        for (int i = 0; i < 200; ++i)
        {
            const int left = std::uniform_int_distribution<int>(0, kWidth - 20)(random);
            const int top = std::uniform_int_distribution<int>(0, kHeight - 10)(random);
            region.AddRect({left, top, left + 20, top + 10});
            for (int y = top; y < top + 10; ++y)
            {
                for (int x = left; x < left + 20; ++x)
                {
                    bitmap[y][x] = true;
                }
            }
        }
        // Read once, so the additions are swept before the change.
        ASSERT_EQ(std::vector<RegionRect>(region.begin(), region.end()), BandsOf(bitmap, plain));
        change.apply(region);
        for (int y = 0; y < kHeight; ++y)
        {
            for (int x = 0; x < kWidth; ++x)
            {
                bitmap[y][x] = change.pixel(bitmap[y][x], x >= piece.left && x < piece.right &&
                                                              y >= piece.top && y < piece.bottom);
            }
        }
        region.Coalesce();
        EXPECT_EQ(std::vector<RegionRect>(region.begin(), region.end()), BandsOf(bitmap, plain));
    }
}

} // namespace
} // namespace QZ
