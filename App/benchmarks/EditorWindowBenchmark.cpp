// The editor's own main window, from the shipped skin with the program's control classes, drawn
// by the 2D renderer into an in-memory 1200 x 750 window: reading the skin, building the tree,
// a full layout pass, a full frame, the frame after one control changed
// its look, and the frame after the engine posted a new value of the first encoder (delivered by
// the application's notification queue, as at idle). Counter "controls": the tree's size;
// "painted": the share of iterations whose frame had something to paint (must be 1).
#include "App/EditorControls.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/FrameworkControls.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>

namespace
{

using namespace QZ;

constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 750;
constexpr std::uint32_t kEnglish = 0x0009;
// The first encoder of the first bank, counted from the engine's first preset parameter.
constexpr std::int32_t kFirstEncoderOffset = 97;

RCPtr<LControlFactory> MakeFactory()
{
    return RCPtr<LControlFactory>(
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva")));
}

// Reads the embedded string tables and skins and registers every control class, as the program
// does before it opens its main window.
bool LoadShippedSkin(LControlFactory& factory)
{
    factory.SetBaseFolder(WideString(u"::"));
    if (Failed(factory.LoadStringTables(WideString(u"::APP_STRINGS"),
                                        WideString(u"::FRAMEWORK_STRINGS"), kEnglish)) ||
        Failed(factory.LoadSkins(WideString(u"::APP_SKINS"))))
    {
        return false;
    }
    RegisterFrameworkControls([&factory](const WideString& name,
                                         LControlFactory::CreateFunction create)
                              { return factory.RegisterControlClass(name, create); });
    RegisterEditorControls(factory);
    return true;
}

std::int64_t CountControls(const LControl& control)
{
    std::int64_t count = 1;
    const LControl::ChildControlList& children = control.GetChildren();
    for (std::uint32_t index = 0; index < children.GetCount(); ++index)
    {
        count += CountControls(*children.GetAt(index, LControl::kStorageOrder));
    }
    return count;
}

// The application with its engine, the shipped skin's factory, and the main window.
struct MainWindowScene
{
    MainWindowScene()
    {
        application.SetControlFactory(factory);
        application.SetRenderer(renderer);
        application.CreateRootModuleEngine();
        ok = LoadShippedSkin(*factory);
        WideString face;
        float size = 0.0f;
        std::int32_t style = 0;
        factory->GetSkinFont(face, size, style);
        application.SetApplicationFont(LFont::FindOrCreate(face, size, style));
        ok = ok && renderer->InitRenderContextInfo({0, 0, kWidth, kHeight},
                                                   presenter.ToWindowHandle(), false,
                                                   context) == S_OK;
        window->SetMeasurementRenderer(RCPtr<LRenderer>(renderer.Get()));
        window->SetClientScreenRect({0, 0, kWidth, kHeight});
        ok = ok && window->CreateRootControl(WideString(u"mainControl")) == S_OK;
        Frame();
    }

    ~MainWindowScene()
    {
        window = nullptr;
        application.ReleaseRootModuleEngine();
        application.SetRenderer(RCPtr<LRenderer>());
        application.SetControlFactory(RCPtr<LControlFactory>());
    }

    // Paints what is dirty; false when nothing was.
    bool Frame()
    {
        RegionT dirty;
        window->TakeDirtyRegion(dirty);
        if (dirty.IsEmpty())
        {
            return false;
        }
        context->GetUpdateRegion().Clear();
        context->GetUpdateRegion().AppendRects(dirty);
        (void)renderer->RenderStart(context);
        window->Paint(RCPtr<LRenderer>(renderer.Get()), dirty);
        (void)renderer->RenderFinish(context);
        return true;
    }

    LApplication application;
    RCPtr<LControlFactory> factory = MakeFactory();
    Testing::MemoryPresenter presenter{kWidth, kHeight, 0xFF000000u};
    RCPtr<LGDIRenderer> renderer{new LGDIRenderer()};
    RCPtr<LRenderContextInfo> context;
    RCPtr<LRootWindow> window{new LRootWindow()};
    bool ok = false;
};

// False, with the benchmark skipped, when the scene could not be built.
bool IsBuilt(benchmark::State& state, const MainWindowScene& scene)
{
    if (!scene.ok)
    {
        state.SkipWithError("the main window was not built");
    }
    return scene.ok;
}

// Runs change then a frame each iteration and counts the frames that painted.
void MeasureRepaint(benchmark::State& state, MainWindowScene& scene,
                    const std::function<void(bool)>& change)
{
    std::int64_t painted = 0;
    bool flip = false;
    for (auto _ : state)
    {
        flip = !flip;
        change(flip);
        painted += scene.Frame() ? 1 : 0;
    }
    state.counters["painted"] =
        benchmark::Counter(static_cast<double>(painted), benchmark::Counter::kAvgIterations);
}

void ReadShippedSkin(benchmark::State& state)
{
    LApplication application;
    for (auto _ : state)
    {
        const RCPtr<LControlFactory> factory = MakeFactory();
        if (!LoadShippedSkin(*factory))
        {
            state.SkipWithError(factory->GetLastError().c_str());
            break;
        }
    }
}
BENCHMARK(ReadShippedSkin)->Unit(benchmark::kMillisecond)->Repetitions(10);

void BuildMainControl(benchmark::State& state)
{
    MainWindowScene scene;
    if (!IsBuilt(state, scene))
    {
        return;
    }
    std::int64_t controls = 0;
    for (auto _ : state)
    {
        RCPtr<LControl> root;
        if (Failed(scene.factory->CreateRootControl(root, WideString(u"mainControl"))))
        {
            state.SkipWithError("the main control was not built");
            break;
        }
        state.PauseTiming();
        controls = CountControls(*root);
        root = nullptr;
        state.ResumeTiming();
    }
    state.counters["controls"] = static_cast<double>(controls);
}
BENCHMARK(BuildMainControl)->Unit(benchmark::kMillisecond)->Repetitions(10);

// Every control computes its rectangle again from its layout record, parents before children.
void LayOutTree(LControl& control)
{
    (void)control.UpdateLayout();
    const LControl::ChildControlList& children = control.GetChildren();
    for (std::uint32_t index = 0; index < children.GetCount(); ++index)
    {
        LayOutTree(*children.GetAt(index, LControl::kStorageOrder));
    }
}

void LayOutMainWindow(benchmark::State& state)
{
    MainWindowScene scene;
    if (!IsBuilt(state, scene))
    {
        return;
    }
    for (auto _ : state)
    {
        LayOutTree(*scene.window->GetRootControl());
    }
}
BENCHMARK(LayOutMainWindow)->Unit(benchmark::kMillisecond)->Repetitions(10);

void PaintMainWindow(benchmark::State& state)
{
    MainWindowScene scene;
    if (!IsBuilt(state, scene))
    {
        return;
    }
    MeasureRepaint(state, scene,
                   [&](bool) { scene.window->Invalidate({0, 0, kWidth, kHeight}); });
}
BENCHMARK(PaintMainWindow)->Unit(benchmark::kMillisecond)->Repetitions(10);

void RepaintOneMainWindowControl(benchmark::State& state)
{
    MainWindowScene scene;
    const RCPtr<LControl> encoders =
        scene.ok ? scene.window->GetRootControl()->FindChildByName(WideString(u"viewDevice"))
                 : nullptr;
    std::vector<RCPtr<LControl>> buttons;
    if (!encoders || encoders->FindDescendantsByName(WideString(u"encoder1"), buttons) == 0 ||
        !(buttons[0] = buttons[0]->FindChildByName(WideString(u"button"))))
    {
        state.SkipWithError("the main window has no first encoder");
        return;
    }
    const RCPtr<LControl> button = buttons[0];
    MeasureRepaint(state, scene,
                   [&](bool flip) { button->SetLookWeight(0, flip ? 0.5f : 1.0f, false); });
}
BENCHMARK(RepaintOneMainWindowControl)->Unit(benchmark::kMicrosecond)->Repetitions(10);

void RepaintEngineValueChange(benchmark::State& state)
{
    MainWindowScene scene;
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    if (!scene.ok || !engine)
    {
        state.SkipWithError("the main window was not built");
        return;
    }
    const ParamDescriptor encoder(engine->GetFirstParamID() + kFirstEncoderOffset);
    // A controller assignment on the global channel, its controller number 40 or 41.
    Variant values[2];
    for (std::uint8_t number : {40, 41})
    {
        const std::uint8_t bytes[] = {0, 0, number, 0, 0, 127};
        values[number - 40].SetBytes(bytes, sizeof bytes);
    }
    const RCPtr<LNotificationCenter> centre = GetApplicationNotificationCenter();
    const RCPtr<LNotificationCenterManager> queues = LNotificationCenterManager::GetInstance();
    MeasureRepaint(state, scene,
                   [&](bool flip)
                   {
                       RCPtr<LNotification> notification;
                       LNotification::Create(
                           notification, NID_PARAM_MODULE_STATE_CHANGE,
                           RCPtr<LRefCountedObject>(new LRootModuleEngine::ParamStatePayload(
                               encoder, values[flip ? 1 : 0])));
                       (void)centre->Post(notification);
                       (void)queues->ProcessQueues(true);
                   });
}
BENCHMARK(RepaintEngineValueChange)->Unit(benchmark::kMicrosecond)->Repetitions(10);

} // namespace
