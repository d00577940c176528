#include "QZFramework/Renderer/GDI/ScaledBitmap.h"

#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/TextureBrush.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>

namespace QZ
{
namespace
{

// Source coordinates are kept within what single precision holds exactly.
constexpr float kSourceLimit = 8388608.0f;

float SourceValue(std::int32_t value)
{
    return std::clamp(static_cast<float>(value), -kSourceLimit, kSourceLimit);
}

// One by one while the tiles repeat fewer than three times on both axes.
void DrawTiles(Graphics2D::Graphics& graphics, Graphics2D::Image& image,
               const Graphics2D::RectF& source, float width, float height)
{
    for (float x = 0; x < width; x += source.width)
    {
        for (float y = 0; y < height; y += source.height)
        {
            (void)graphics.DrawImage(image, {x, y, source.width, source.height}, source);
        }
    }
}

void FillWithTexture(Graphics2D::Graphics& graphics, Graphics2D::Image& image,
                     const LBitmap& bitmap, float width, float height)
{
    const Graphics2D::TextureBrush brush(
        image, {bitmap.GetX(), bitmap.GetY(), bitmap.GetWidth(), bitmap.GetHeight()});
    (void)graphics.FillRectangle(brush, {0, 0, width, height});
}

} // namespace

std::unique_ptr<Graphics2D::Image> RenderScaledBitmap(const LBitmap& bitmap, std::int32_t width,
                                                      std::int32_t height, std::int32_t resizeType)
{
    Graphics2D::Image* image = bitmap.GetBitmapData();
    std::unique_ptr<Graphics2D::Image> rendered;
    if (image == nullptr ||
        Graphics2D::Image::Create(width, height, Graphics2D::PixelFormat::Format32bppPARGB,
                                  rendered) != Graphics2D::Status::Ok)
    {
        return nullptr;
    }
    Graphics2D::Graphics graphics(*rendered);
    (void)graphics.SetInterpolationMode(Graphics2D::InterpolationMode::NearestNeighbor);
    (void)graphics.SetPixelOffsetMode(Graphics2D::PixelOffsetMode::HighSpeed);
    const Graphics2D::RectF source{SourceValue(bitmap.GetX()), SourceValue(bitmap.GetY()),
                                   SourceValue(bitmap.GetWidth()), SourceValue(bitmap.GetHeight())};
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    switch (resizeType)
    {
    case LRenderer::kResizeCenter:
        (void)graphics.DrawImage(
            *image,
            {(w - source.width) * 0.5f, (h - source.height) * 0.5f, source.width, source.height},
            source);
        break;
    case LRenderer::kResizeTile:
        if (w / source.width < 3.0f && h / source.height < 3.0f)
        {
            DrawTiles(graphics, *image, source, w, h);
        }
        else
        {
            FillWithTexture(graphics, *image, bitmap, w, h);
        }
        break;
    default:
        (void)graphics.DrawImage(*image, {0, 0, w, h}, source);
        break;
    }
    return rendered;
}

} // namespace QZ
