// Frames shaped like the editor's window, for the renderers' benchmarks: a 1200 x 750 background
// bitmap, a few hundred small skin bitmaps (cut from one atlas, each drawn inside its control's
// clip) and labels. Frame draws what the control tree would draw inside the dirty rectangle:
// the whole window for a full frame, one 40 x 30 rectangle (kDirty) for a small repaint.
#pragma once

#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <vector>

namespace QZ::Testing
{

class EditorScene
{
public:
    static constexpr std::int32_t kWidth = 1200;
    static constexpr std::int32_t kHeight = 750;
    static constexpr RectT<std::int32_t> kDirty{322, 203, 40, 30};

    // Draws through the renderer into the context (made by the renderer for the window size).
    EditorScene(const RCPtr<LRenderer>& renderer, const RCPtr<LRenderContextInfo>& context)
        : mRenderer(renderer), mContext(context)
    {
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
    static constexpr std::int32_t kColumns = 25;
    static constexpr std::int32_t kRows = 12;
    static constexpr std::int32_t kCell = 44;
    static constexpr const char16_t* kLabelTexts[] = {u"Cutoff",   u"Resonance",  u"Attack",
                                                      u"Decay",    u"Sustain",    u"Release",
                                                      u"LFO Rate", u"Drive 12 dB"};

    struct Control
    {
        RectT<std::int32_t> frame;
        RCPtr<LBitmap> bitmap;
        const char16_t* label = nullptr;
    };

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

    RCPtr<LRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
    RCPtr<LBitmap> mBackground;
    RCPtr<LFont> mFont;
    std::vector<Control> mControls;
};

} // namespace QZ::Testing
