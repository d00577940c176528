#include "QZFramework/ControlBase/VisualPart.h"

#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Utilities/Graphics/BitmapData.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

// The source pixel shown at destination pixel d of an extent of n pixels, for a bitmap extent of
// b pixels; -1 where the bitmap does not reach.
std::int32_t SourcePixel(std::int32_t d, std::int32_t n, std::int32_t b, std::uint32_t resizeType)
{
    if (n == b)
    {
        return d;
    }
    switch (resizeType)
    {
    case LRenderer::kResizeTile:
        return d % b;
    case LRenderer::kResizeCenter:
    {
        const double offset = (static_cast<double>(n) - b) * 0.5;
        const auto s = static_cast<std::int32_t>(std::floor(d + 0.5 - offset));
        return s >= 0 && s < b ? s : -1;
    }
    default:
        return static_cast<std::int32_t>((static_cast<double>(d) + 0.5) * b / n);
    }
}

// A copy of the bitmap with every pixel's alpha scaled by alpha.
RCPtr<LBitmap> Faded(const LBitmap& bitmap, float alpha)
{
    RCPtr<LBitmap> copy = bitmap.Clone();
    if (!copy)
    {
        return copy;
    }
    const RCPtr<LBitmapData> data = copy->LockPixels(Graphics2D::LockModeReadWrite);
    if (!data || data->GetPixels() == nullptr)
    {
        return RCPtr<LBitmap>();
    }
    for (std::int32_t y = 0; y < data->GetHeight(); ++y)
    {
        auto* row =
            reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(data->GetPixels()) +
                                             std::ptrdiff_t{y} * data->GetStride());
        for (std::int32_t x = 0; x < data->GetWidth(); ++x)
        {
            const auto a = static_cast<std::uint32_t>(std::lround((row[x] >> 24) * alpha));
            row[x] = (row[x] & 0x00FFFFFFu) | (a << 24);
        }
    }
    return copy;
}

} // namespace

RCPtr<LVisualPart>& LVisualPart::Create(RCPtr<LVisualPart>& out, const WideString& name,
                                        const RCPtr<LBitmap>& bitmap, std::uint32_t resizeType,
                                        const RCPtr<LColorizer>& colorizer, float alpha,
                                        const RCPtr<LBitmap>& mask)
{
    out = RCPtr<LVisualPart>();
    if (!bitmap || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0)
    {
        return out;
    }
    RCPtr<LVisualPart> part(new LVisualPart());
    part->mName = name;
    part->mBitmap = bitmap;
    part->mResizeType = resizeType;
    part->mColorizer = colorizer;
    part->mAlpha = alpha;
    part->mMask = mask;
    part->mSize = {bitmap->GetWidth(), bitmap->GetHeight()};
    out = part;
    return out;
}

void LVisualPart::Draw(LRenderer& renderer, const RectT<std::int32_t>& rect) const
{
    const RenderState* state = renderer.GetCurrentState();
    const float alpha = state != nullptr ? std::clamp(state->alpha, 0.0f, 1.0f) : 1.0f;
    if (alpha <= 0.0f)
    {
        return;
    }
    if (alpha < 1.0f && (!mFaded || mFadedAlpha != alpha))
    {
        mFaded = Faded(*mBitmap, alpha);
        mFadedAlpha = alpha;
    }
    renderer.DrawBitmap(alpha < 1.0f && mFaded ? mFaded : mBitmap, rect,
                        static_cast<std::int32_t>(mResizeType));
}

ColorRGBA LVisualPart::GetColorAt(const RectT<std::int32_t>& rect,
                                  const PointT<std::int32_t>& point) const
{
    const std::int32_t dx = point.x - rect.x;
    const std::int32_t dy = point.y - rect.y;
    if (dx < 0 || dy < 0 || dx >= rect.width || dy >= rect.height)
    {
        return {};
    }
    const std::int32_t sx = SourcePixel(dx, rect.width, mSize.x, mResizeType);
    const std::int32_t sy = SourcePixel(dy, rect.height, mSize.y, mResizeType);
    return sx < 0 || sy < 0 ? ColorRGBA() : mBitmap->GetPixelColor(sx, sy);
}

} // namespace QZ
