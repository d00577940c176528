// Drags a knob of 64 frames in a 1200 x 750 window, bare (argument 0) or among 200, 480 or 1,000
// other controls (arguments 5, 12 and 25, their rows of 40), one pointer move per iteration,
// each followed by the frame that paints what the move made dirty with the 2D renderer into an
// in-memory window, which the window's paint clips to the dirty area. The counter "outsideKnob"
// counts the moves whose dirty region was not exactly the knob's rectangle (it must stay 0);
// "frames" the moves that painted (a move that keeps the same frame of the knob paints nothing).
// DragKnob's knob is opaque and lies on four cells of the grid, which it hides. DragSeeThroughKnob
// lays the window out as the editor does: nothing lies under the knob but the panel, and the knob
// is see-through (like a filmstrip with transparent corners), so the panel is painted under it at
// every step.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/Knob.h"
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace
{

using namespace QZ;

constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 750;
constexpr std::int32_t kKnobX = 600;
constexpr std::int32_t kKnobY = 300;
constexpr std::int32_t kKnobSize = 48;
// The window's panel draws a 2-pixel edge; its children lie inside it.
constexpr std::int32_t kInset = 2;

std::string MakeSkin(int rows, bool seeThrough)
{
    std::string xml = R"(<Korvane_Skin_Definitions><Skin Name="Bench">
      <Colorizer Name="Grey" Kind="1" Color1="FF404040" Color2="FF202020"/>
      <Colorizer Name="Edge" Color1="FF808080"/>
      <Colorizer Name="Glass" Kind="1" Color1="C0606060" Color2="C0303030"/>
      <Look Name="Normal" ClientLeft="2" ClientTop="2" ClientRight="2" ClientBottom="2">
        <DockedPart Dock="Fill" Colorizer="Grey"/><DockedPart Dock="Left" Size="2" Colorizer="Edge"/>
      </Look>
      <Look Name="SeeThrough"><DockedPart Dock="Fill" Colorizer="Glass"/></Look>
      <LookList Name="Plain"><LookRef Look="Normal"/></LookList>
      <LookList Name="Frames">)";
    for (int frame = 0; frame < 64; ++frame)
    {
        xml += seeThrough ? R"(<LookRef Look="SeeThrough"/>)" : R"(<LookRef Look="Normal"/>)";
    }
    xml += R"(</LookList>
      <SubControl Class="Panel" Name="mainControl" XSizeToControl="Client" XSizeRel="1"
          XSizeAbs="0" YSizeToControl="Client" YSizeRel="1" YSizeAbs="0" LookList="Plain">)";
    // A grid of controls around the knob, as an editor page has.
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < 40; ++column)
        {
            const bool underKnob = column * 30 < kKnobX + kKnobSize &&
                                   column * 30 + 28 > kKnobX && row * 30 < kKnobY + kKnobSize &&
                                   row * 30 + 28 > kKnobY;
            if (seeThrough && underKnob)
            {
                continue;
            }
            xml += "<SubControl Class=\"Panel\" Name=\"cell" + std::to_string(row * 40 + column) +
                   "\" XPositionAbs=\"" + std::to_string(column * 30) + "\" YPositionAbs=\"" +
                   std::to_string(row * 30) +
                   "\" XSizeAbs=\"28\" YSizeAbs=\"28\" LookList=\"Plain\"/>";
        }
    }
    xml += "<SubControl Class=\"Framework.Knob\" Name=\"knob\" XPositionAbs=\"" +
           std::to_string(kKnobX) + "\" YPositionAbs=\"" + std::to_string(kKnobY) +
           "\" XSizeAbs=\"" + std::to_string(kKnobSize) + "\" YSizeAbs=\"" +
           std::to_string(kKnobSize) + "\" LookList=\"Frames\" Z_Order=\"1\"/>";
    xml += "</SubControl></Skin></Korvane_Skin_Definitions>";
    return xml;
}

struct KnobScene
{
    KnobScene(int rows, bool seeThrough)
    {
        RCPtr<LControlFactory> factory(
            new LControlFactory(WideString(u"Bench"), WideString(u"Bench")));
        application.SetControlFactory(factory);
        application.SetRenderer(renderer);
        application.SetApplicationFont(LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0));
        factory->RegisterControlClass(WideString(u"Panel"), &LControlFactory::Create<LControl>);
        factory->RegisterControlClass(WideString(u"Framework.Knob"),
                                      &LControlFactory::Create<LKnob>);
        const std::string xml = MakeSkin(rows, seeThrough);
        ok = factory->LoadSkinsFrom({reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()},
                                    "knob skin") == S_OK &&
             renderer->InitRenderContextInfo({0, 0, kWidth, kHeight}, presenter.ToWindowHandle(),
                                             false, context) == S_OK;
        window->SetClientScreenRect({0, 0, kWidth, kHeight});
        ok = ok && window->CreateRootControl(WideString(u"mainControl")) == S_OK;
        Frame();
    }

    ~KnobScene()
    {
        window = nullptr;
        application.SetRenderer(RCPtr<LRenderer>());
        application.SetControlFactory(RCPtr<LControlFactory>());
    }

    // Paints the dirty region; true when it was exactly the knob's rectangle.
    bool Frame()
    {
        RegionT dirty;
        window->TakeDirtyRegion(dirty);
        // A move that leaves the same frame showing makes nothing dirty and paints nothing.
        if (dirty.GetRectCount() == 0)
        {
            return true;
        }
        ++frames;
        RegionRect bounds;
        const bool knobOnly =
            dirty.GetRectCount() == 1 && dirty.GetBounds(bounds) &&
            bounds == RegionRect{kKnobX + kInset, kKnobY + kInset, kKnobX + kInset + kKnobSize,
                                 kKnobY + kInset + kKnobSize};
        context->GetUpdateRegion().Clear();
        context->GetUpdateRegion().AppendRects(dirty);
        (void)renderer->RenderStart(context);
        window->Paint(RCPtr<LRenderer>(renderer.Get()), dirty);
        (void)renderer->RenderFinish(context);
        return knobOnly;
    }

    LApplicationBase application;
    Testing::MemoryPresenter presenter{kWidth, kHeight, 0xFF000000u};
    RCPtr<LGDIRenderer> renderer{new LGDIRenderer()};
    RCPtr<LRenderContextInfo> context;
    RCPtr<LRootWindow> window{new LRootWindow()};
    bool ok = false;
    std::int64_t frames = 0;
};

void Drag(benchmark::State& state, bool seeThrough)
{
    KnobScene scene(static_cast<int>(state.range(0)), seeThrough);
    if (!scene.ok)
    {
        state.SkipWithError("the scene was not built");
        return;
    }
    const long y = kKnobY + kKnobSize / 2;
    long x = kKnobX + kKnobSize / 2;
    scene.window->OnPointerMove({x, y}, 0, 0);
    scene.window->OnPointerButton(true, 1, {x, y}, 1, 0, false);
    scene.Frame();
    // Sweeps right over the knob's whole range and back, so every move turns it a step.
    long direction = 1;
    std::int64_t outside = 0;
    for (auto _ : state)
    {
        x += direction;
        if (x == kKnobX + kKnobSize / 2 + 127 || x == kKnobX + kKnobSize / 2)
        {
            direction = -direction;
        }
        scene.window->OnPointerMove({x, y}, 1, 0);
        outside += scene.Frame() ? 0 : 1;
    }
    scene.window->OnPointerButton(false, 1, {x, y}, 0, 0, false);
    state.counters["outsideKnob"] = static_cast<double>(outside);
    state.counters["frames"] = static_cast<double>(scene.frames);
}

void DragKnob(benchmark::State& state)
{
    Drag(state, false);
}

void DragSeeThroughKnob(benchmark::State& state)
{
    Drag(state, true);
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(0)
        ->Arg(5)
        ->Arg(12)
        ->Arg(25)
        ->Iterations(10000)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
}
BENCHMARK(DragKnob)->Apply(Sizes);
BENCHMARK(DragSeeThroughKnob)->Apply(Sizes);

} // namespace
