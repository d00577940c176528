#include "QZFramework/Renderer/GDI/GDIRenderContextInfo.h"

#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Renderer/GDI/FramePresenter.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <algorithm>
#include <vector>

namespace QZ
{
namespace
{

PointT<std::int32_t> SizeOf(const RectT<std::int32_t>& viewport)
{
    return {viewport.width, viewport.height};
}

// The rectangle cut to [0, width) x [0, height); false when nothing is left.
bool CutToSurface(RectT<std::int32_t>& rect, const PointT<std::int32_t>& size)
{
    const std::int64_t left = std::max<std::int64_t>(rect.x, 0);
    const std::int64_t top = std::max<std::int64_t>(rect.y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, size.x);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, size.y);
    if (right <= left || bottom <= top)
    {
        return false;
    }
    rect = {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
    return true;
}

} // namespace

LGDIRenderContextInfo::LGDIRenderContextInfo(const RectT<std::int32_t>& viewport,
                                             WindowHandle window, bool offScreen)
    : LRenderContextInfo(viewport, window, offScreen),
      mFrontSurface(LGDIRendererOffscreenSurface::Create(SizeOf(viewport), window)),
      mBackSurface(LGDIRendererOffscreenSurface::Create(SizeOf(viewport), window))
{
}

LGDIRenderContextInfo::~LGDIRenderContextInfo()
{
    mBackSurface = nullptr;
    mFrontSurface = nullptr;
}

RCPtr<LGDIRenderContextInfo> LGDIRenderContextInfo::Create(const RectT<std::int32_t>& viewport,
                                                           WindowHandle window, bool offScreen)
{
    return RCPtr<LGDIRenderContextInfo>(new LGDIRenderContextInfo(viewport, window, offScreen));
}

std::pair<std::int32_t, std::int32_t> LGDIRenderContextInfo::GetMaxViewportSize() const
{
    return {LGDIRendererOffscreenSurface::kMaxSide, LGDIRendererOffscreenSurface::kMaxSide};
}

Graphics2D::Graphics* LGDIRenderContextInfo::GetGraphics() const
{
    return mFrontSurface->GetGraphics();
}

void LGDIRenderContextInfo::SwapSurfaces()
{
    std::swap(mFrontSurface, mBackSurface);
}

bool LGDIRenderContextInfo::IsWholeViewportDirty() const
{
    const RegionT& region = GetUpdateRegion();
    if (region.IsEmpty() || region.GetRectCount() != 1)
    {
        return false;
    }
    return region.begin()->ToRect() == GetViewport();
}

void LGDIRenderContextInfo::PrepareSurfaces()
{
    const PointT<std::int32_t> size =
        LGDIRendererOffscreenSurface::LimitSize(SizeOf(GetViewport()));
    if (mFrontSurface->GetSize() == size && !IsWholeViewportDirty())
    {
        return;
    }
    (void)mFrontSurface->Resize(size);
    (void)mBackSurface->Resize(size);
}

void LGDIRenderContextInfo::Present()
{
    Graphics2D::Graphics* graphics = GetGraphics();
    Graphics2D::Image* frame = mFrontSurface->GetBitmap();
    if (graphics == nullptr || frame == nullptr)
    {
        return;
    }
    (void)graphics->Flush();
    IFramePresenter* presenter = IFramePresenter::FromWindowHandle(GetWindow());
    if (IsOffScreen() || presenter == nullptr)
    {
        return;
    }
    Array<RectT<std::int32_t>> regionRects;
    GetUpdateRegion().ToRectArray(regionRects);
    const PointT<std::int32_t> size = mFrontSurface->GetSize();
    std::vector<RectT<std::int32_t>> rectangles;
    rectangles.reserve(static_cast<std::size_t>(regionRects.GetCount()));
    for (std::int32_t i = regionRects.GetCount() - 1; i >= 0; --i)
    {
        RectT<std::int32_t> rect = regionRects.GetAt(i);
        if (CutToSurface(rect, size))
        {
            rectangles.push_back(rect);
        }
    }
    if (!rectangles.empty())
    {
        presenter->Present(*frame, rectangles);
    }
}

} // namespace QZ
