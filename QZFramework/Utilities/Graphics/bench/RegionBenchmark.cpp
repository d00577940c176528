// The region work of a busy repaint: a few hundred dirty rectangles of control size collected
// into one region, then cut by the parts that need no repaint. Each benchmark reports the median
// of its repetitions.
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace QZ
{
namespace
{

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 800;

std::vector<RegionRect> DirtyRects(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> width(8, 160);
    std::uniform_int_distribution<int> height(8, 60);
    std::vector<RegionRect> rects;
    for (int i = 0; i < count; ++i)
    {
        const int w = width(random);
        const int h = height(random);
        const int left = std::uniform_int_distribution<int>(0, kWindowWidth - w)(random);
        const int top = std::uniform_int_distribution<int>(0, kWindowHeight - h)(random);
        rects.push_back({left, top, left + w, top + h});
    }
    return rects;
}

// Adds the dirty rectangles to a new region, cuts the clean ones out and reads the result.
std::uint32_t Merge(const std::vector<RegionRect>& dirty, const std::vector<RegionRect>& clean)
{
    RegionT region;
    for (const RegionRect& r : dirty)
    {
        region.AddRect(r);
    }
    for (const RegionRect& r : clean)
    {
        region.SubtractRect(r);
    }
    return region.GetRectCount();
}

// Merges count dirty rectangles, less a third as many clean ones when subtracting, from one of
// sets inputs in turn.
void MergeInTurn(benchmark::State& state, unsigned sets, bool subtract)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::vector<RegionRect>> dirty;
    std::vector<std::vector<RegionRect>> clean;
    for (unsigned set = 0; set < sets; ++set)
    {
        dirty.push_back(DirtyRects(count, 1 + 2 * set));
        clean.push_back(subtract ? DirtyRects(count / 3, 2 + 2 * set) : std::vector<RegionRect>{});
    }
    std::uint32_t rects = 0;
    std::size_t next = 0;
    for (auto _ : state)
    {
        rects = Merge(dirty[next], clean[next]);
        benchmark::DoNotOptimize(rects);
        next = (next + 1) % sets;
    }
    state.counters["rects"] = rects;
}

void RegionUnion(benchmark::State& state)
{
    MergeInTurn(state, 1, false);
}

void RegionUnionSubtract(benchmark::State& state)
{
    MergeInTurn(state, 1, true);
}

// The same with 16 inputs in turn, as the dirty rectangles of a real repaint differ each time:
// merging one input over and over lets the processor learn its branches, which flatters the
// smaller sizes.
constexpr unsigned kVariedSets = 16;

void RegionUnionVaried(benchmark::State& state)
{
    MergeInTurn(state, kVariedSets, false);
}

void RegionUnionSubtractVaried(benchmark::State& state)
{
    MergeInTurn(state, kVariedSets, true);
}

void RegionUnionCoalesce(benchmark::State& state)
{
    const std::vector<RegionRect> dirty = DirtyRects(static_cast<int>(state.range(0)), 1);
    std::uint32_t rects = 0;
    for (auto _ : state)
    {
        RegionT region;
        for (const RegionRect& r : dirty)
        {
            region.AddRect(r);
        }
        region.Coalesce();
        rects = region.GetRectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["rects"] = rects;
}

// Merging should grow near-linearly: at most 4 times the time from 100 to 300 rectangles.
void GrowthSizes(benchmark::internal::Benchmark* sizes)
{
    sizes->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Repetitions(10)->ReportAggregatesOnly(true);
}

BENCHMARK(RegionUnion)->Apply(GrowthSizes);
BENCHMARK(RegionUnionSubtract)->Apply(GrowthSizes);
BENCHMARK(RegionUnionVaried)->Apply(GrowthSizes);
BENCHMARK(RegionUnionSubtractVaried)->Apply(GrowthSizes);
BENCHMARK(RegionUnionCoalesce)->Arg(300)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace
} // namespace QZ
