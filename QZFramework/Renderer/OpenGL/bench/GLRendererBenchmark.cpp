// The editor-shaped frames (EditorScene) through the OpenGL renderer, off-screen on Mesa's
// software rasteriser; this program also holds the 2D renderer's benchmarks, so that one run
// gives both types side by side. Every frame ends with glFinish, so that the time counts the
// rasterising, not only the queueing. Medians of 9 repetitions; no target: the figures are for
// the record.
#include "QZFramework/Renderer/OpenGL/GLHeaders.h"
#include "QZFramework/Renderer/tests/EditorScene.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace QZ
{
namespace
{

using Testing::EditorScene;

class GLEditorPicture
{
public:
    GLEditorPicture()
        : mRenderer(LRenderer::Create(LRenderer::kTypeOpenGL,
                                      {0, 0, EditorScene::kWidth, EditorScene::kHeight}, nullptr))
    {
        (void)mRenderer->InitRenderContextInfo({0, 0, EditorScene::kWidth, EditorScene::kHeight},
                                               nullptr, true, mContext);
        mScene = std::make_unique<EditorScene>(mRenderer, mContext);
    }

    void Frame(const RectT<std::int32_t>& dirty)
    {
        mScene->Frame(dirty);
        glFinish();
    }

private:
    RCPtr<LRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
    std::unique_ptr<EditorScene> mScene;
};

void GLFullFrame(benchmark::State& state)
{
    GLEditorPicture picture;
    picture.Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    for (auto _ : state)
    {
        picture.Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    }
}

void GLSmallRepaint(benchmark::State& state)
{
    GLEditorPicture picture;
    picture.Frame({0, 0, EditorScene::kWidth, EditorScene::kHeight});
    for (auto _ : state)
    {
        picture.Frame(EditorScene::kDirty);
    }
}

BENCHMARK(GLFullFrame)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(GLSmallRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace QZ
