// The editor-shaped frames (EditorScene) through the 2D renderer into an in-memory window.
// FullFrame repaints the whole window (surfaces made anew, everything drawn and presented);
// SmallRepaint repaints one 40 x 30 dirty rectangle. Each benchmark reports the median of its
// repetitions; the targets on the project's machine are 8 ms for the full frame and 0.5 ms for
// the small repaint.
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Renderer/tests/EditorScene.h"

#include <benchmark/benchmark.h>

namespace QZ
{
namespace
{

using Testing::EditorScene;

class GDIEditorWindow
{
public:
    GDIEditorWindow() : mWindow(EditorScene::kWidth, EditorScene::kHeight, 0xFF000000u)
    {
        (void)mRenderer->InitRenderContextInfo({0, 0, EditorScene::kWidth, EditorScene::kHeight},
                                               mWindow.ToWindowHandle(), false, mContext);
        mScene = std::make_unique<EditorScene>(mRenderer, mContext);
    }

    EditorScene& Scene() { return *mScene; }

private:
    Testing::MemoryPresenter mWindow;
    RCPtr<LRenderer> mRenderer{new LGDIRenderer};
    RCPtr<LRenderContextInfo> mContext;
    std::unique_ptr<EditorScene> mScene;
};

void FullFrame(benchmark::State& state)
{
    GDIEditorWindow window;
    window.Scene().Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    for (auto _ : state)
    {
        window.Scene().Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    }
}

void SmallRepaint(benchmark::State& state)
{
    GDIEditorWindow window;
    window.Scene().Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    for (auto _ : state)
    {
        window.Scene().Frame(EditorScene::kDirty);
    }
}

BENCHMARK(FullFrame)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SmallRepaint)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace QZ
