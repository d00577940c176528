// What showing a frame costs: the editor's whole 1200 x 750 window, and the few small areas a
// typical change repaints. On the desktop when DISPLAY is set (run it under
// cmake/RunUnderXvfb.sh), else on the dummy driver (the copy alone).
#include "Platform/Window/WindowSystem.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace Platform
{
namespace
{

constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 750;

void Present(benchmark::State& state, std::vector<WindowRect> areas)
{
    std::string error;
    auto system = WindowSystem::Open(std::getenv("DISPLAY") != nullptr ? nullptr : "dummy", error);
    if (system == nullptr)
    {
        state.SkipWithError(error.c_str());
        return;
    }
    const WindowId window = system->CreateWindow({u"Present", {0, 0, kWidth, kHeight}, false});
    system->Show(window);
    std::vector<std::uint32_t> frame(std::size_t{kWidth} * kHeight, 0xFF336699u);
    const PixelBuffer buffer{reinterpret_cast<const std::uint8_t*>(frame.data()), kWidth, kHeight,
                             kWidth * 4};
    for (auto _ : state)
    {
        if (!system->Present(window, buffer, areas))
        {
            state.SkipWithError(system->GetError().c_str());
            return;
        }
    }
}

void BM_PresentWholeWindow(benchmark::State& state)
{
    Present(state, {{0, 0, kWidth, kHeight}});
}
BENCHMARK(BM_PresentWholeWindow)->Unit(benchmark::kMicrosecond);

void BM_PresentTenControls(benchmark::State& state)
{
    std::vector<WindowRect> areas;
    for (std::int32_t i = 0; i < 10; ++i)
    {
        areas.push_back({100 * i, 60 * i, 48, 24});
    }
    Present(state, areas);
}
BENCHMARK(BM_PresentTenControls)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace Platform
