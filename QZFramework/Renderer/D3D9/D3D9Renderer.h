// Renderer type 2: accepts every call of the renderer interface and draws nothing, so that the
// rest of the system can run with a window that stays blank. It fixes the answers of a renderer
// that cannot measure or draw: metrics are left untouched, text has zero size, and copying or
// scrolling surfaces is not implemented.
//
// Its frames are not recorded (RenderStart and RenderFinish check nothing), so it never has a
// current context and the state operations of the base do nothing.
#pragma once

#include "QZFramework/Renderer/Renderer.h"

namespace QZ
{

class LD3D9Renderer : public LRenderer
{
public:
    // What DrawSurface and ScrollSurface answer.
    static constexpr QZRESULT kNotImplemented = static_cast<QZRESULT>(0x80004001u);

    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;
    std::int32_t GetRendererType() const override;
    QZRESULT InitRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                   bool offScreen, RCPtr<LRenderContextInfo>& out) override;
    QZRESULT RenderStart(const RCPtr<LRenderContextInfo>& context) override;
    QZRESULT RenderFinish(const RCPtr<LRenderContextInfo>& context) override;
    void DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                  const PointT<std::int32_t>& position, const ColorRGBA& color) override;
    void DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color,
                  float lineWidth) override;
    void FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend) override;
    void FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                        bool keepCached) override;
    void DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorRGBA& color,
                  float width) override;
    void DrawLineSegments(PolylineT<float>& polyline, const ColorRGBA& color,
                          const PointT<float>& offset, const PointT<float>& scale,
                          bool keepCached) override;
    void DrawPolyline(PolylineT<float>& polyline, const ColorRGBA& color,
                      const PointT<float>& offset, const PointT<float>& scale,
                      bool keepCached) override;
    void DrawPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                     const PointT<float>& offset, const PointT<float>& scale,
                     bool keepCached) override;
    void FillPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                     const PointT<float>& offset, const PointT<float>& scale,
                     bool keepCached) override;
    void DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectT<std::int32_t>& destination,
                    std::int32_t resizeType) override;
    QZRESULT DrawSurface(const RCPtr<LRenderContextInfo>& source,
                         const PointT<std::int32_t>& destination,
                         const RectT<std::int32_t>& sourceRect) override;
    QZRESULT ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                           const PointT<std::int32_t>& offset) override;
};

} // namespace QZ
