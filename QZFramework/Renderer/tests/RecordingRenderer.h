// A renderer for tests: records every drawing call and mirrors clip and origin into a "device"
// the way a real renderer mirrors them into its graphics library (the clip placed in device
// coordinates when it is set, the transform following the origin).
#pragma once

#include "QZFramework/Renderer/Renderer.h"

#include <string>
#include <vector>

namespace QZ
{

class RecordingContext : public LRenderContextInfo
{
public:
    using LRenderContextInfo::LRenderContextInfo;
    std::pair<std::int32_t, std::int32_t> GetMaxViewportSize() const override { return {64, 32}; }
};

class RecordingRenderer : public LRenderer
{
public:
    std::vector<std::string> calls;
    PointT<double> deviceOrigin;
    RectT<double> deviceClip = RenderState::kUnboundedClip;
    RCPtr<LStencil> deviceStencil;

    static RCPtr<LRenderContextInfo> MakeContext();

    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;
    std::int32_t GetRendererType() const override { return 99; }
    QZRESULT InitRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                   bool offScreen, RCPtr<LRenderContextInfo>& out) override;
    QZRESULT SetStencil(const RCPtr<LStencil>& stencil) override;
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
    void SetClip(const RectT<double>& clip) override;
    void OffsetOrigin(const PointT<double>& offset) override;

private:
    void Record(const std::string& call);
};

} // namespace QZ
