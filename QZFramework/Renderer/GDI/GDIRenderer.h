// Renderer type 1, the renderer that paints every window of the program, on the 2D graphics layer
// (Platform/Graphics2D).
//
// Each frame draws into the front surface of its render context (LGDIRenderContextInfo);
// RenderFinish hands the update rectangles to the window's presenter. Shapes are drawn without
// antialiasing, with pixel centres on whole coordinates (a rectangle outline of width w covers
// w + 1 pixels), and images are scaled by nearest neighbour. Text is drawn and measured with the
// layer's fonts; a family that is not installed is replaced by the layer's sans-serif family, for
// metrics as for drawing. The clip and world transform of a surface's Graphics follow the render
// state through SetClip and OffsetOrigin; the state's alpha and stencil are not used.
//
// Bitmaps are rendered once per image area, destination size and resize type and kept in the
// bitmap cache; polylines are built into paths once (one for each way a polyline is drawn: as
// segments, as a line, as a polygon) and kept in the path cache until they change. Both caches
// hold 256 entries, and RenderFinish empties the entries of both that were not used during a
// whole period of more than five minutes of the application clock.
//
// Outside a frame the drawing operations draw nothing, except DrawBitmap, which throws. All
// operations run on the user-interface thread.
#pragma once

#include "QZFramework/Renderer/GDI/CashableBitmapDescriptor.h"
#include "QZFramework/Renderer/GDI/GDICachedBitmap.h"
#include "QZFramework/Renderer/GDI/GDIGraphicsPath.h"
#include "QZFramework/Renderer/GDI/GDIRenderContextInfo.h"
#include "QZFramework/Renderer/PurgableObjectCache.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <cstdint>
#include <memory>

namespace QZ
{

namespace Graphics2D
{
class Graphics;
class Image;
} // namespace Graphics2D

class LGDIRenderer : public LRenderer
{
public:
    using LCachedBitmap = LGDICachedBitmap;
    using LGraphicsPath = LGDIGraphicsPath;
    using BitmapKey = CashableBitmapDescriptor<8>;
    using BitmapCache = PurgableObjectCache<LCachedBitmap, BitmapKey, BitmapKey,
                                            &GetSelf<BitmapKey>, 8, &BitmapKey::GetHashBits>;
    // Keyed by the polyline's handle and the kind of path (shifted in below it). Handles are
    // handed out in sequence, so the handle's low bits spread the keys best.
    using PathCache = PurgableObjectCache<LGraphicsPath, std::int64_t, std::int64_t,
                                          &GetSelf<std::int64_t>, 8, &GetBits<8, 2, std::int64_t>>;

    static constexpr std::int32_t kCacheCapacity = 256;
    // Cache entries are purged at the first RenderFinish more than this long after the last
    // purge (milliseconds of the application clock).
    static constexpr std::int32_t kPurgePeriodMilliseconds = 300000;
    // Pixels per inch of the drawing surfaces and of the screen the program was laid out for.
    static constexpr std::int32_t kDefaultDpi = 96;

    // screenDpi is the horizontal pixels per inch of the screen, which text measuring takes into
    // account; the window layer passes what the desktop reports (a value below 1 counts as 96).
    explicit LGDIRenderer(std::int32_t screenDpi = kDefaultDpi);
    ~LGDIRenderer() override;
    LGDIRenderer(const LGDIRenderer&) = delete;
    LGDIRenderer& operator=(const LGDIRenderer&) = delete;

    // Fills line height, ascent (negative: from the baseline up) and descent in pixels of the
    // font's face at its size in points on a 96-dpi surface; 0, or E_INVALIDARG for a null font
    // and E_FAIL when no face can be found (the values are left as they were then).
    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    // The box of one line relative to its baseline: (0, ascent, width, line height); all zeros
    // for an empty text or a null font.
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;
    std::int32_t GetRendererType() const override;
    // Makes an LGDIRenderContextInfo; 0.
    QZRESULT InitRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                   bool offScreen, RCPtr<LRenderContextInfo>& out) override;
    // Starts a frame on a context made by InitRenderContextInfo (throws the base's errors, and
    // a runtime error for a context of another renderer type).
    QZRESULT RenderStart(const RCPtr<LRenderContextInfo>& context) override;
    // Presents the current context's frame and finishes it; then runs the timed cache purge.
    // Throws the base's error, presenting nothing, for a context that is not the current one.
    QZRESULT RenderFinish(const RCPtr<LRenderContextInfo>& context) override;

    // The text's layout box starts one pixel above the position.
    void DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                  const PointT<std::int32_t>& position, const ColorRGBA& color) override;
    void DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color,
                  float lineWidth) override;
    // Both kinds of fill go through the origin and the clip; without blending the covered pixels
    // take the colour, alpha included.
    void FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend) override;
    // Fills the list's rectangles, scaled and rounded to whole pixels, from the last to the first;
    // keepCached is not used.
    void FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                        bool keepCached) override;
    void DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorRGBA& color,
                  float width) override;
    // Points are taken in pairs; an odd last point is left out.
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
    // Throws a runtime error outside a frame, and an invalid-argument error for a resize type
    // other than 0, 1 or 2 when the bitmap's size differs from the destination's. A null bitmap,
    // one without pixels and an empty destination draw nothing.
    void DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectT<std::int32_t>& destination,
                    std::int32_t resizeType) override;
    // E_INVALIDARG unless the source is an off-screen context of this renderer type; E_FAIL when
    // the copy failed (also outside a frame and when the source is the current context).
    QZRESULT DrawSurface(const RCPtr<LRenderContextInfo>& source,
                         const PointT<std::int32_t>& destination,
                         const RectT<std::int32_t>& sourceRect) override;
    // Swaps the context's surfaces and redraws the former front image moved by the offset into
    // the cleared new front; results as for DrawSurface.
    QZRESULT ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                           const PointT<std::int32_t>& offset) override;
    void SetClip(const RectT<double>& clip) override;
    void OffsetOrigin(const PointT<double>& offset) override;

    // 96 divided by the current surface's pixels per inch; 1.0 until the first frame.
    [[nodiscard]] float GetFontScale() const { return mFontScale; }
    [[nodiscard]] std::int32_t GetDpi() const { return mDpi; }
    [[nodiscard]] const BitmapCache& GetBitmapCache() const { return mBitmapCache; }
    [[nodiscard]] const PathCache& GetPathCache() const { return mPathCache; }
    // The current context, or null between frames.
    [[nodiscard]] LGDIRenderContextInfo* GetCurrentGDIContext() const
    {
        return mCurrentContext.Get();
    }

private:
    [[nodiscard]] Graphics2D::Graphics* CurrentGraphics() const;
    void ApplyOrigin();
    void SetOriginExactly(const PointT<double>& origin);
    void PurgeWhenDue();
    // The polyline's cached path of the kind, built when there is none or the polyline changed.
    RCPtr<LGraphicsPath>& LookupPath(PolylineT<float>& polyline, std::int32_t kind);
    void DrawPath(PolylineT<float>& polyline, std::int32_t kind, const ColorRGBA& color,
                  const PointT<float>& offset, const PointT<float>& scale, bool keepCached);

    float mFontScale = 1.0f;
    RCPtr<LGDIRenderContextInfo> mCurrentContext;
    std::unique_ptr<Graphics2D::Image> mMeasuringBitmap;
    std::unique_ptr<Graphics2D::Graphics> mMeasuringGraphics;
    std::int32_t mDpi;
    BitmapCache mBitmapCache;
    PathCache mPathCache;
    std::uint32_t mLastPurgeTime;
};

} // namespace QZ
