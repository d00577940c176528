// Lays out and paints a tree shaped like the editor's (about 2,000 controls: groups of panels of
// labelled buttons with framed looks) with the 2D renderer into an in-memory window: a full
// layout after the window changed size, a full frame, and the frame after one control changed.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace
{

using namespace QZ;

constexpr int kGroups = 20;
constexpr int kPanelsPerGroup = 10;
constexpr int kControlsPerPanel = 9;
constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 750;

std::string MakeEditorShapedSkin()
{
    std::string xml =
        R"(<Korvane_Skin_Definitions><Skin Name="Dark">
      <Colorizer Name="Grey" Kind="1" Color1="FF404040" Color2="FF202020"/>
      <Colorizer Name="Edge" Color1="FF808080"/>
      <Look Name="Normal" ClientLeft="2" ClientTop="2" ClientRight="2" ClientBottom="2">
        <DockedPart Dock="Fill" Colorizer="Grey"/><DockedPart Dock="Left" Size="2" Colorizer="Edge"/>
        <DockedPart Dock="Top" Size="2" Colorizer="Edge"/>
        <Text LeftRel="0" LeftAbs="4" RightRel="1" RightAbs="-4" HAlign="0.5" VAlign="0.5" Color="FFFFFFFF"/>
      </Look>
      <LookList Name="Button"><LookRef Look="Normal"/><LookRef/><LookRef Look="Normal"/></LookList>
      <SubControl Class="Panel" Name="mainControl" XSizeToControl="Client" XSizeRel="1" XSizeAbs="0"
          YSizeToControl="Client" YSizeRel="1" YSizeAbs="0" LookList="Button">)";
    for (int group = 0; group < kGroups; ++group)
    {
        xml += "<SubControl Class=\"Panel\" Name=\"group" + std::to_string(group) +
               "\" XPositionRel=\"" + std::to_string(group * 0.05) +
               "\" XSizeToControl=\"Client\" XSizeRel=\"0.05\" XSizeAbs=\"0\" YSizeAbs=\"700\" "
               "LookList=\"Button\">";
        for (int panel = 0; panel < kPanelsPerGroup; ++panel)
        {
            // Each panel below the one before; the first at the top of its group.
            const std::string above =
                panel > 0 ? "\" YPositionToControl=\"panel" + std::to_string(panel - 1) +
                                "\" YPositionRel=\"1"
                          : "";
            xml += "<SubControl Class=\"Panel\" Name=\"panel" + std::to_string(panel) + above +
                   "\" XSizeToControl=\"Client\" XSizeRel=\"1\" XSizeAbs=\"0\" YSizeAbs=\"70\" "
                   "LookList=\"Button\">";
            for (int control = 0; control < kControlsPerPanel; ++control)
            {
                xml += "<SubControl Class=\"Button\" Name=\"button" + std::to_string(control) +
                       "\" XPositionAbs=\"" + std::to_string((control % 3) * 18) +
                       "\" YPositionAbs=\"" + std::to_string((control / 3) * 22) +
                       "\" XSizeAbs=\"18\" YSizeAbs=\"20\" LookList=\"Button\" FontSize=\"0.9\" "
                       "FontSizeRelative=\"True\"><CreateParamList><CreateParam "
                       "ID=\"LABEL\">B</CreateParam></CreateParamList></SubControl>";
            }
            xml += "</SubControl>";
        }
        xml += "</SubControl>";
    }
    xml += "</SubControl></Skin></Korvane_Skin_Definitions>";
    return xml;
}

// The application, the tree in its root window and the 2D renderer with an in-memory window.
struct EditorScene
{
    EditorScene()
    {
        RCPtr<LControlFactory> factory(
            new LControlFactory(WideString(u"Bench"), WideString(u"Bench")));
        application.SetControlFactory(factory);
        application.SetRenderer(renderer);
        application.SetApplicationFont(LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0));
        for (const char16_t* name : {u"Panel", u"Button"})
        {
            factory->RegisterControlClass(WideString(name), &LControlFactory::Create<LControl>);
        }
        const std::string xml = MakeEditorShapedSkin();
        ok = factory->LoadSkinsFrom({reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()},
                                    "editor-shaped skin") == S_OK &&
             renderer->InitRenderContextInfo({0, 0, kWidth, kHeight}, presenter.ToWindowHandle(),
                                             false, context) == S_OK;
        window->SetClientScreenRect({0, 0, kWidth, kHeight});
        ok = ok && window->CreateRootControl(WideString(u"mainControl")) == S_OK;
        Frame();
    }

    ~EditorScene()
    {
        window = nullptr;
        application.SetRenderer(RCPtr<LRenderer>());
        application.SetControlFactory(RCPtr<LControlFactory>());
    }

    void Frame()
    {
        RegionT dirty;
        window->TakeDirtyRegion(dirty);
        context->GetUpdateRegion().Clear();
        context->GetUpdateRegion().AppendRects(dirty);
        (void)renderer->RenderStart(context);
        window->Paint(RCPtr<LRenderer>(renderer.Get()), dirty);
        (void)renderer->RenderFinish(context);
    }

    LApplicationBase application;
    Testing::MemoryPresenter presenter{kWidth, kHeight, 0xFF000000u};
    RCPtr<LGDIRenderer> renderer{new LGDIRenderer()};
    RCPtr<LRenderContextInfo> context;
    RCPtr<LRootWindow> window{new LRootWindow()};
    bool ok = false;
};

void LayOutEditorTree(benchmark::State& state)
{
    EditorScene scene;
    if (!scene.ok)
    {
        state.SkipWithError("the editor-shaped tree was not built");
        return;
    }
    std::int32_t width = kWidth;
    for (auto _ : state)
    {
        // A new client width re-lays out every control of the tree.
        width = width == kWidth ? kWidth - 20 : kWidth;
        scene.window->SetClientScreenRect({0, 0, width, kHeight});
        state.PauseTiming();
        RegionT dirty;
        scene.window->TakeDirtyRegion(dirty);
        state.ResumeTiming();
    }
}
BENCHMARK(LayOutEditorTree)->Unit(benchmark::kMillisecond)->Repetitions(10);

void PaintEditorFrame(benchmark::State& state)
{
    EditorScene scene;
    if (!scene.ok)
    {
        state.SkipWithError("the editor-shaped tree was not built");
        return;
    }
    for (auto _ : state)
    {
        scene.window->Invalidate({0, 0, kWidth, kHeight});
        scene.Frame();
    }
}
BENCHMARK(PaintEditorFrame)->Unit(benchmark::kMillisecond)->Repetitions(10);

void RepaintOneControl(benchmark::State& state)
{
    EditorScene scene;
    std::vector<RCPtr<LControl>> buttons;
    if (!scene.ok ||
        scene.window->GetRootControl()->FindDescendantsByName(WideString(u"button4"), buttons) == 0)
    {
        state.SkipWithError("the editor-shaped tree was not built");
        return;
    }
    const RCPtr<LControl> button = buttons[buttons.size() / 2];
    float weight = 1.0f;
    for (auto _ : state)
    {
        weight = weight == 1.0f ? 0.5f : 1.0f;
        button->SetLookWeight(0, weight, false);
        scene.Frame();
    }
}
BENCHMARK(RepaintOneControl)->Unit(benchmark::kMillisecond)->Repetitions(10);

} // namespace
