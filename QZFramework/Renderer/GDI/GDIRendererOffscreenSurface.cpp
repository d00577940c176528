#include "QZFramework/Renderer/GDI/GDIRendererOffscreenSurface.h"

#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"

#include <algorithm>

namespace QZ
{

LGDIRendererOffscreenSurface::LGDIRendererOffscreenSurface(WindowHandle window) : mWindow(window) {}

LGDIRendererOffscreenSurface::~LGDIRendererOffscreenSurface() = default;

RCPtr<LGDIRendererOffscreenSurface>
LGDIRendererOffscreenSurface::Create(const PointT<std::int32_t>& size, WindowHandle window)
{
    RCPtr<LGDIRendererOffscreenSurface> surface(new LGDIRendererOffscreenSurface(window));
    (void)surface->Resize(size);
    return surface;
}

PointT<std::int32_t> LGDIRendererOffscreenSurface::LimitSize(const PointT<std::int32_t>& size)
{
    return {std::clamp(size.x, 1, kMaxSide), std::clamp(size.y, 1, kMaxSide)};
}

QZRESULT LGDIRendererOffscreenSurface::Resize(const PointT<std::int32_t>& size)
{
    mGraphics.reset();
    mBitmap.reset();
    const PointT<std::int32_t> limited = LimitSize(size);
    std::unique_ptr<Graphics2D::Image> bitmap;
    if (Graphics2D::Image::Create(limited.x, limited.y, Graphics2D::PixelFormat::Format32bppPARGB,
                                  bitmap) == Graphics2D::Status::Ok)
    {
        mBitmap = std::move(bitmap);
        mGraphics = std::make_unique<Graphics2D::Graphics>(*mBitmap);
    }
    return S_OK;
}

PointT<std::int32_t> LGDIRendererOffscreenSurface::GetSize() const
{
    return mBitmap ? PointT<std::int32_t>{mBitmap->GetWidth(), mBitmap->GetHeight()}
                   : PointT<std::int32_t>{0, 0};
}

bool LGDIRendererOffscreenSurface::Draw(Graphics2D::Graphics& target,
                                        const PointT<std::int32_t>& destination,
                                        const RectT<std::int32_t>& source) const
{
    if (!mBitmap)
    {
        return false;
    }
    return target.DrawImage(*mBitmap, destination.x, destination.y,
                            {source.x, source.y, source.width, source.height}) ==
           Graphics2D::Status::Ok;
}

} // namespace QZ
