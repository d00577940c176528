// Frames of the 2D renderer shaped like the editor's window: a 1200 x 750 background bitmap, a
// few hundred small skin bitmaps (cut from one atlas, each drawn inside its control's clip) and
// labels. FullFrame repaints the whole window (surfaces made anew, everything drawn and
// presented); SmallRepaint repaints one 40 x 30 dirty rectangle, drawing what the control tree
// would draw there. Each benchmark reports the median of its repetitions; the targets on the
// project's machine are 8 ms for the full frame and 0.5 ms for the small repaint.
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace QZ
{
namespace
{

constexpr std::int32_t kWidth = 1200;
constexpr std::int32_t kHeight = 750;
constexpr std::int32_t kColumns = 25;
constexpr std::int32_t kRows = 12;
constexpr std::int32_t kCell = 44;
constexpr RectT<std::int32_t> kDirty{322, 203, 40, 30};

const char16_t* const kLabelTexts[] = {u"Cutoff",  u"Resonance", u"Attack",   u"Decay",
                                       u"Sustain", u"Release",   u"LFO Rate", u"Drive 12 dB"};

struct Control
{
    RectT<std::int32_t> frame;
    RCPtr<LBitmap> bitmap;
    const char16_t* label = nullptr;
};

class EditorScene
{
public:
    EditorScene() : mWindow(kWidth, kHeight, 0xFF000000u)
    {
        (void)mRenderer->InitRenderContextInfo({0, 0, kWidth, kHeight}, mWindow.ToWindowHandle(),
                                               false, mContext);
        mBackground = LBitmap::CreateGradientFilledBitmap({300, 200}, ColorRGBA(0xFF303840u),
                                                          ColorRGBA(0xFF101418u));
        const RCPtr<LBitmap> atlas = LBitmap::CreateGradientFilledBitmap(
            {256, 256}, ColorRGBA(0xE0C0C8D0u), ColorRGBA(0xF0405060u));
        mFont = LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0);
        for (std::int32_t row = 0; row < kRows; ++row)
        {
            for (std::int32_t column = 0; column < kColumns; ++column)
            {
                const std::int32_t index = row * kColumns + column;
                Control control;
                control.frame = {16 + column * (kCell + 3), 40 + row * (kCell + 12), kCell, kCell};
                control.bitmap = atlas->CreateSubBitmap((index % 5) * kCell,
                                                        (index / 5 % 5) * kCell, kCell, kCell);
                control.label = index % 2 == 0 ? kLabelTexts[index / 2 % 8] : nullptr;
                mControls.push_back(control);
            }
        }
    }

    void Frame(const RectT<std::int32_t>& dirty)
    {
        RegionT& region = mContext->GetUpdateRegion();
        region.Clear();
        region.AddRect(RegionRect::FromRect(dirty));
        (void)mRenderer->RenderStart(mContext);
        const RectT<double> clip{static_cast<double>(dirty.x), static_cast<double>(dirty.y),
                                 static_cast<double>(dirty.width),
                                 static_cast<double>(dirty.height)};
        mRenderer->PushClip({0, 0, kWidth, kHeight}, clip, nullptr, true);
        mRenderer->DrawBitmap(mBackground, {0, 0, kWidth, kHeight}, LRenderer::kResizeStretch);
        for (const Control& control : mControls)
        {
            if (Overlaps(control.frame, dirty))
            {
                DrawControl(control);
            }
        }
        mRenderer->PopState();
        (void)mRenderer->RenderFinish(mContext);
    }

private:
    static bool Overlaps(const RectT<std::int32_t>& a, const RectT<std::int32_t>& b)
    {
        return a.x < b.GetRight() && b.x < a.GetRight() && a.y < b.GetBottom() &&
               b.y < a.GetBottom();
    }

    void DrawControl(const Control& control)
    {
        const RectT<double> frame{static_cast<double>(control.frame.x),
                                  static_cast<double>(control.frame.y),
                                  static_cast<double>(control.frame.width),
                                  static_cast<double>(control.frame.height) + 12.0};
        mRenderer->PushClip(frame, frame, nullptr, true);
        mRenderer->DrawBitmap(control.bitmap, {0, 0, kCell, kCell}, LRenderer::kResizeStretch);
        if (control.label != nullptr)
        {
            mRenderer->DrawText(control.label, mFont, {2, kCell}, ColorRGBA(0xFFE0E0E0u));
        }
        mRenderer->PopState();
    }

    Testing::MemoryPresenter mWindow;
    RCPtr<LGDIRenderer> mRenderer{new LGDIRenderer};
    RCPtr<LRenderContextInfo> mContext;
    RCPtr<LBitmap> mBackground;
    RCPtr<LFont> mFont;
    std::vector<Control> mControls;
};

void FullFrame(benchmark::State& state)
{
    EditorScene scene;
    scene.Frame({0, 0, kWidth, kHeight});
    for (auto _ : state)
    {
        scene.Frame({0, 0, kWidth, kHeight});
    }
}

void SmallRepaint(benchmark::State& state)
{
    EditorScene scene;
    scene.Frame({0, 0, kWidth, kHeight});
    for (auto _ : state)
    {
        scene.Frame(kDirty);
    }
}

BENCHMARK(FullFrame)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SmallRepaint)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace QZ
