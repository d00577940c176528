#include "QZFramework/Renderer/tests/RecordingRenderer.h"

namespace QZ
{
namespace
{

std::string Text(const RectT<std::int32_t>& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

} // namespace

RCPtr<LRenderContextInfo> RecordingRenderer::MakeContext()
{
    return RCPtr<LRenderContextInfo>(new RecordingContext({0, 0, 64, 32}, nullptr, false));
}

QZRESULT RecordingRenderer::GetFontMetrics(const ConstRCPtr<LFont>&, std::int32_t& height,
                                           std::int32_t& ascent, std::int32_t& descent)
{
    height = 12;
    ascent = 9;
    descent = 3;
    return S_OK;
}

RectT<float> RecordingRenderer::MeasureText(const WideString& text, const ConstRCPtr<LFont>&)
{
    return {0.0f, 0.0f, 6.0f * static_cast<float>(text.GetLength()), 12.0f};
}

QZRESULT RecordingRenderer::InitRenderContextInfo(const RectT<std::int32_t>& viewport,
                                                  WindowHandle window, bool offScreen,
                                                  RCPtr<LRenderContextInfo>& out)
{
    out = new RecordingContext(viewport, window, offScreen);
    return S_OK;
}

QZRESULT RecordingRenderer::SetStencil(const RCPtr<LStencil>& stencil)
{
    LRenderer::SetStencil(stencil);
    if (GetCurrentContext() != nullptr)
    {
        deviceStencil = stencil;
    }
    return S_OK;
}

void RecordingRenderer::Record(const std::string& call)
{
    calls.push_back(call + " @" + std::to_string(static_cast<long long>(deviceOrigin.x)) + "," +
                    std::to_string(static_cast<long long>(deviceOrigin.y)));
}

void RecordingRenderer::DrawText(const WideString&, const ConstRCPtr<LFont>&,
                                 const PointT<std::int32_t>&, const ColorRGBA&)
{
    Record("DrawText");
}

void RecordingRenderer::DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA&, float)
{
    Record("DrawRect " + Text(rect));
}

void RecordingRenderer::FillRect(const RectT<std::int32_t>& rect, const ColorRGBA&, bool blend)
{
    Record("FillRect " + Text(rect) + (blend ? " blend" : " replace"));
}

void RecordingRenderer::FillColorRects(ColorRectListT<float>&, const PointT<double>&, bool)
{
    Record("FillColorRects");
}

void RecordingRenderer::DrawLine(const PointT<float>&, const PointT<float>&, const ColorRGBA&,
                                 float)
{
    Record("DrawLine");
}

void RecordingRenderer::DrawLineSegments(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                         const PointT<float>&, bool)
{
    Record("DrawLineSegments");
}

void RecordingRenderer::DrawPolyline(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                     const PointT<float>&, bool)
{
    Record("DrawPolyline");
}

void RecordingRenderer::DrawPolygon(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                    const PointT<float>&, bool)
{
    Record("DrawPolygon");
}

void RecordingRenderer::FillPolygon(PolylineT<float>&, const ColorRGBA&, const PointT<float>&,
                                    const PointT<float>&, bool)
{
    Record("FillPolygon");
}

void RecordingRenderer::DrawBitmap(const ConstRCPtr<LBitmap>&, const RectT<std::int32_t>& rect,
                                   std::int32_t)
{
    Record("DrawBitmap " + Text(rect));
}

QZRESULT RecordingRenderer::DrawSurface(const RCPtr<LRenderContextInfo>&,
                                        const PointT<std::int32_t>&, const RectT<std::int32_t>&)
{
    Record("DrawSurface");
    return S_OK;
}

QZRESULT RecordingRenderer::ScrollSurface(const RCPtr<LRenderContextInfo>&,
                                          const PointT<std::int32_t>&)
{
    Record("ScrollSurface");
    return S_OK;
}

void RecordingRenderer::SetClip(const RectT<double>& clip)
{
    LRenderer::SetClip(clip);
    if (RenderState* state = GetCurrentState())
    {
        deviceClip = {clip.x + state->origin.x, clip.y + state->origin.y, clip.width, clip.height};
    }
}

void RecordingRenderer::OffsetOrigin(const PointT<double>& offset)
{
    LRenderer::OffsetOrigin(offset);
    if (RenderState* state = GetCurrentState())
    {
        deviceOrigin = state->origin;
    }
}

} // namespace QZ
