// Builds one panel with many children side by side (250 to 4,000) from a skin, as the factory
// builds a long list or a grid. Building should grow linearly: each doubling of the children
// should take at most about twice as long. Run with --benchmark_repetitions=10 and read the
// medians.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace
{

using namespace QZ;

std::string MakeSkin(int children)
{
    std::string xml = R"(<Korvane_Skin_Definitions><Skin Name="Bench">
      <SubControl Class="Panel" Name="mainControl" XSizeAbs="1200" YSizeAbs="750">)";
    for (int child = 0; child < children; ++child)
    {
        // A grid of cells, some with their own paint and tab order, as lists and pads have.
        xml += "<SubControl Class=\"Panel\" Name=\"cell" + std::to_string(child) +
               "\" XPositionAbs=\"" + std::to_string((child % 40) * 30) + "\" YPositionAbs=\"" +
               std::to_string((child / 40) * 30) + "\" XSizeAbs=\"28\" YSizeAbs=\"28\" TabStop=\"" +
               std::to_string(child % 7) + "\" Z_Order=\"" + std::to_string(child % 3) + "\"/>";
    }
    xml += "</SubControl></Skin></Korvane_Skin_Definitions>";
    return xml;
}

void BuildSiblings(benchmark::State& state)
{
    static LApplicationBase application;
    const std::string xml = MakeSkin(static_cast<int>(state.range(0)));
    RCPtr<LControlFactory> factory(new LControlFactory(WideString(u"Bench"), WideString(u"Bench")));
    application.SetControlFactory(factory);
    factory->RegisterControlClass(WideString(u"Panel"), &LControlFactory::Create<LControl>);
    if (factory->LoadSkinsFrom({reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()},
                               "sibling skin") != S_OK)
    {
        state.SkipWithError(factory->GetLastError().c_str());
        return;
    }
    std::uint32_t built = 0;
    for (auto _ : state)
    {
        RCPtr<LControl> root;
        factory->CreateRootControl(root, WideString(u"mainControl"));
        built = root ? root->GetChildren().GetCount() : 0;
        state.PauseTiming();
        root = nullptr;
        state.ResumeTiming();
    }
    if (built != static_cast<std::uint32_t>(state.range(0)))
    {
        state.SkipWithError("not every child was built");
    }
    application.SetControlFactory(RCPtr<LControlFactory>());
}
BENCHMARK(BuildSiblings)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond);

} // namespace
