#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"

#include "QZFramework/Renderer/D3D9/D3D9RenderContextInfo.h"

namespace QZ
{

QZRESULT LD3D9Renderer::GetFontMetrics(const ConstRCPtr<LFont>&, std::int32_t&, std::int32_t&,
                                       std::int32_t&)
{
    return S_OK;
}

RectT<float> LD3D9Renderer::MeasureText(const WideString&, const ConstRCPtr<LFont>&)
{
    return {};
}

std::int32_t LD3D9Renderer::GetRendererType() const
{
    return kTypeStub;
}

QZRESULT LD3D9Renderer::InitRenderContextInfo(const RectT<std::int32_t>& viewport,
                                              WindowHandle window, bool offScreen,
                                              RCPtr<LRenderContextInfo>& out)
{
    out = new LD3D9RenderContextInfo(viewport, window, offScreen);
    return S_OK;
}

QZRESULT LD3D9Renderer::RenderStart(const RCPtr<LRenderContextInfo>&)
{
    return S_OK;
}

QZRESULT LD3D9Renderer::RenderFinish(const RCPtr<LRenderContextInfo>&)
{
    return S_OK;
}

void LD3D9Renderer::DrawText(const WideString&, const ConstRCPtr<LFont>&,
                             const PointT<std::int32_t>&, const ColorRGBA&)
{
}

void LD3D9Renderer::DrawRect(const RectT<std::int32_t>&, const ColorRGBA&, float) {}

void LD3D9Renderer::FillRect(const RectT<std::int32_t>&, const ColorRGBA&, bool) {}

void LD3D9Renderer::FillColorRects(ColorRectListT<float>&, const PointT<double>&, bool) {}

void LD3D9Renderer::DrawLine(const PointT<float>&, const PointT<float>&, const ColorRGBA&, float) {}

void LD3D9Renderer::DrawLineSegments(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                     const PointT<float>&, bool)
{
}

void LD3D9Renderer::DrawPolyline(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                 const PointT<float>&, bool)
{
}

void LD3D9Renderer::DrawPolygon(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                const PointT<float>&, bool)
{
}

void LD3D9Renderer::FillPolygon(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                const PointT<float>&, bool)
{
}

void LD3D9Renderer::DrawBitmap(const ConstRCPtr<LBitmap>&, const RectT<std::int32_t>&, std::int32_t)
{
}

QZRESULT LD3D9Renderer::DrawSurface(const RCPtr<LRenderContextInfo>&, const PointT<std::int32_t>&,
                                    const RectT<std::int32_t>&)
{
    return kNotImplemented;
}

QZRESULT LD3D9Renderer::ScrollSurface(const RCPtr<LRenderContextInfo>&, const PointT<std::int32_t>&)
{
    return kNotImplemented;
}

} // namespace QZ
