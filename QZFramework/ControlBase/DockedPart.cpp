#include "QZFramework/ControlBase/DockedPart.h"

#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>
#include <cmath>

namespace QZ
{

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
        if (mColorizer->IsGradient())
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
