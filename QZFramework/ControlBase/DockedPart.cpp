#include "QZFramework/ControlBase/DockedPart.h"

#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::size_t kMaxStrips = 64;

// An opaque gradient is drawn as a strip one pixel wide stretched over the part, so the renderer
// draws one cached image instead of a rectangle per row. Strips are shared by every part of the
// same colorizer and height; the user-interface thread alone draws.
RCPtr<LBitmap> GradientStrip(const RCPtr<LColorizer>& colorizer, std::int32_t height)
{
    struct Strip
    {
        RCPtr<LColorizer> colorizer;
        std::int32_t height;
        RCPtr<LBitmap> bitmap;
    };
    static std::vector<Strip> strips;
    for (const Strip& strip : strips)
    {
        if (strip.colorizer == colorizer && strip.height == height)
        {
            return strip.bitmap;
        }
    }
    if (strips.size() >= kMaxStrips)
    {
        strips.clear();
    }
    const RCPtr<LBitmap> bitmap = LBitmap::CreateColorizedBitmap(colorizer, 1.0f, {1, height});
    strips.push_back({colorizer, height, bitmap});
    return bitmap;
}

} // namespace

LDockedPart::LDockedPart(Dock dock, double thickness, const RCPtr<LVisualPart>& part,
                         const RCPtr<LColorizer>& colorizer)
    : mDock(dock),
      mThickness(std::isfinite(thickness)
                     ? static_cast<std::int32_t>(std::clamp(std::round(thickness), 0.0, 65536.0))
                     : 0),
      mPart(part), mColorizer(colorizer)
{
}

void LDockedPart::Draw(LRenderer& renderer, const RectT<std::int32_t>& rect) const
{
    if (rect.IsEmpty())
    {
        return;
    }
    if (mColorizer)
    {
        const RenderState* state = renderer.GetCurrentState();
        const float alpha = state != nullptr ? state->alpha : 1.0f;
        const auto fill = [&](const RectT<std::int32_t>& band, std::int32_t row)
        {
            ColorRGBA color = mColorizer->GetRowColor(row, rect.height);
            color.alpha *= alpha;
            renderer.FillRect(band, color, true);
        };
        const RCPtr<LBitmap> strip = mColorizer->IsGradient() && alpha >= 1.0f
                                         ? GradientStrip(mColorizer, rect.height)
                                         : RCPtr<LBitmap>();
        if (strip)
        {
            renderer.DrawBitmap(strip, rect, LRenderer::kResizeStretch);
        }
        else if (mColorizer->IsGradient())
        {
            for (std::int32_t row = 0; row < rect.height; ++row)
            {
                fill({rect.x, rect.y + row, rect.width, 1}, row);
            }
        }
        else
        {
            fill(rect, 0);
        }
    }
    if (mPart)
    {
        mPart->Draw(renderer, rect);
    }
}

bool LDockedPart::IsOpaque() const
{
    return mColorizer && mColorizer->GetFirstColor().alpha >= 1.0f &&
           (!mColorizer->IsGradient() || mColorizer->GetSecondColor().alpha >= 1.0f);
}

ColorRGBA LDockedPart::GetColorAt(const RectT<std::int32_t>& rect,
                                  const PointT<std::int32_t>& point) const
{
    if (point.x < rect.x || point.y < rect.y || point.x >= rect.GetRight() ||
        point.y >= rect.GetBottom())
    {
        return {};
    }
    if (mPart)
    {
        const ColorRGBA shown = mPart->GetColorAt(rect, point);
        if (shown.alpha > 0.0f)
        {
            return shown;
        }
    }
    return mColorizer ? mColorizer->GetRowColor(point.y - rect.y, rect.height) : ColorRGBA();
}

} // namespace QZ
