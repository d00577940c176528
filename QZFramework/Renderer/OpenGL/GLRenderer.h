// Renderer type 0: fixed-function OpenGL (immediate mode, display lists, client vertex arrays, 2-D
// textures) with GLU's tessellator, and text through a FreeType font renderer whose glyphs the
// OpenGL glyph renderer draws.
//
// The renderer owns one GL context (Platform/GL). Each render context draws into a framebuffer
// object of its own (LGLRenderContextInfo); RenderFinish copies a window's picture to the window
// and swaps, while an off-screen picture stays where DrawSurface and ScrollSurface read it. The
// context is made current at set-up and at every frame start; a failure there is shown to the
// user (GLMessages) and thrown. The projection puts one unit on one pixel with the origin top
// left, the modelview matrix follows the render state's origin and the scissor box its clip.
//
// Polylines, polygons and colour-rectangle lists drawn with keepCached are recorded once into
// display lists and replayed until their changed flag is set; bitmaps become one texture per
// image, shared by its sub-bitmaps. The caches are bounded (256 lists per kind, 64 textures) and
// emptied of what was not used for more than five minutes, after an outermost frame. GL errors
// while drawing are drained and not reported. Everything runs on the painting thread; outside a
// frame the drawing operations draw nothing (DrawBitmap still refuses a null bitmap).
#pragma once

#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/FontRenderer/FontRenderer.h"
#include "QZFramework/Renderer/OpenGL/GLDisplayList.h"
#include "QZFramework/Renderer/OpenGL/GLRenderContextInfo.h"
#include "QZFramework/Renderer/OpenGL/GLTexture.h"
#include "QZFramework/Renderer/PurgableObjectCache.h"
#include "QZFramework/Renderer/Renderer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace QZ
{

namespace GLPlatform
{
class GLContext;
}
class LGLGlyphRenderer;

class LGLRenderer : public LRenderer
{
public:
    using DisplayListCache =
        PurgableObjectCache<LGLDisplayList, std::int32_t, std::int32_t, &GetSelf<std::int32_t>, 8,
                            &GetBits<8, 4, std::int32_t>>;
    using TextureCache =
        PurgableObjectCache<LGLTexture, std::int32_t, std::int32_t, &GetSelf<std::int32_t>, 8,
                            &GetBits<8, 4, std::int32_t>>;

    static constexpr std::int32_t kDisplayListCapacity = 256;
    static constexpr std::int32_t kTextureCapacity = 64;
    static constexpr std::uint32_t kPurgePeriodMilliseconds = 300000;

    // A renderer drawing text with the font renderer (null: no text) into the window (the
    // SDL_Window the window layer made with SDL_WINDOW_OPENGL; null: off-screen targets only).
    // Shows the error and throws a runtime error when no GL context can be had or made current.
    LGLRenderer(const RCPtr<LFontRenderer>& fontRenderer, WindowHandle window);
    ~LGLRenderer() override;
    LGLRenderer(const LGLRenderer&) = delete;
    LGLRenderer& operator=(const LGLRenderer&) = delete;

    // The font renderer's metrics; E_FAIL without one.
    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;
    std::int32_t GetRendererType() const override;
    // Makes an LGLRenderContextInfo with its picture and sets the fixed GL state; 0. Shows the
    // error and throws a runtime error when the context cannot be made current or the picture's
    // framebuffer cannot be made.
    QZRESULT InitRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                   bool offScreen, RCPtr<LRenderContextInfo>& out) override;
    // Stores the viewport and sets the projection of one unit per pixel, y downwards.
    QZRESULT SetViewport(const RectT<std::int32_t>& viewport) override;
    // Makes the context current (shown and thrown as above), then the base's checks, then draws
    // into the target's picture with its viewport, origin and clip. A context of another renderer
    // is a runtime error.
    QZRESULT RenderStart(const RCPtr<LRenderContextInfo>& context) override;
    // Shows a window's picture (or flushes an off-screen one) and finishes the frame; the frame
    // below, if any, is drawn into again. Then the timed cache purge.
    QZRESULT RenderFinish(const RCPtr<LRenderContextInfo>& context) override;

    // The text's layout box (the top of its line) at the position.
    void DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                  const PointT<std::int32_t>& position, const ColorRGBA& color) override;
    void DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color,
                  float lineWidth) override;
    // Without blending the covered pixels, within the clip, take the colour, alpha included.
    void FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend) override;
    // Filled from the last rectangle to the first, so the first ends on top.
    void FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                        bool keepCached) override;
    void DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorRGBA& color,
                  float width) override;
    // An odd last point is left out.
    void DrawLineSegments(PolylineT<float>& polyline, const ColorRGBA& color,
                          const PointT<float>& offset, const PointT<float>& scale,
                          bool keepCached) override;
    void DrawPolyline(PolylineT<float>& polyline, const ColorRGBA& color,
                      const PointT<float>& offset, const PointT<float>& scale,
                      bool keepCached) override;
    // The outline is closed: the last point joins the first.
    void DrawPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                     const PointT<float>& offset, const PointT<float>& scale,
                     bool keepCached) override;
    // Odd winding; a self-intersecting polygon is filled too.
    void FillPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                     const PointT<float>& offset, const PointT<float>& scale,
                     bool keepCached) override;
    // A null bitmap is a failed-result error (E_INVALIDARG); a resize type other than 0, 1 or 2
    // is a logic error when the bitmap's size differs from the destination's. Tiles and a centred
    // bitmap are cut at the destination's edges; a bitmap without pixels draws nothing.
    void DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectT<std::int32_t>& destination,
                    std::int32_t resizeType) override;
    // E_INVALIDARG unless the source is an off-screen context of this renderer; E_FAIL when it
    // is the context being drawn, or outside a frame.
    QZRESULT DrawSurface(const RCPtr<LRenderContextInfo>& source,
                         const PointT<std::int32_t>& destination,
                         const RectT<std::int32_t>& sourceRect) override;
    // Moves the picture by the offset within itself (what it uncovers keeps its pixels); results
    // as for DrawSurface, but it runs a frame of its own, also outside one.
    QZRESULT ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                           const PointT<std::int32_t>& offset) override;
    void SetClip(const RectT<double>& clip) override;
    void OffsetOrigin(const PointT<double>& offset) override;

    // Empties every cache entry not used since the previous purge.
    void PurgeCaches();

    [[nodiscard]] const RCPtr<LFontRenderer>& GetFontRenderer() const { return mFontRenderer; }
    [[nodiscard]] const DisplayListCache& GetPolygonFillCache() const { return mPolygonFill; }
    [[nodiscard]] const DisplayListCache& GetPolygonOutlineCache() const { return mPolygonOutline; }
    [[nodiscard]] const DisplayListCache& GetPolylineCache() const { return mPolyline; }
    [[nodiscard]] const DisplayListCache& GetColorRectsCache() const { return mColorRects; }
    [[nodiscard]] const TextureCache& GetBitmapTextureCache() const { return mTextures; }

private:
    [[nodiscard]] LGLRenderContextInfo* CurrentGLContext() const;
    void MakeCurrent(WindowHandle window, const char* method);
    void ApplyInitialState() const;
    void ApplyScissor(const RectT<double>& rect) const;
    void ApplyCurrentClip() const;
    // Draws the commands, through the cache's display list of the source when keepCached.
    void DrawRecorded(DisplayListCache& cache, DisplayListCache* partner, std::int32_t key,
                      bool changed, bool keepCached, const std::function<void()>& setUp,
                      const std::function<void()>& commands);
    void DrawPoints(PolylineT<float>& polyline, std::uint32_t mode, const ColorRGBA& color,
                    const PointT<float>& offset, const PointT<float>& scale, bool keepCached);
    static void DrawTiles(const LGLTexture& texture, const RectT<std::int32_t>& source,
                          const RectT<std::int32_t>& destination);
    // The source unscaled with its top-left at (x, y), cut at the destination's edges.
    static void DrawUnscaled(const LGLTexture& texture, const RectT<std::int32_t>& source,
                             std::int64_t x, std::int64_t y,
                             const RectT<std::int32_t>& destination);

    // Destroyed last: the context infos and the GL objects below need it.
    std::shared_ptr<GLPlatform::GLContext> mGL;
    RCPtr<LFontRenderer> mFontRenderer;
    RCPtr<LGLGlyphRenderer> mGlyphRenderer;
    WindowHandle mWindow;
    std::uint32_t mLastPurgeTime;
    DisplayListCache mPolygonFill;
    DisplayListCache mPolygonOutline;
    DisplayListCache mLineSegments;
    DisplayListCache mPolyline;
    DisplayListCache mColorRects;
    TextureCache mTextures;
};

} // namespace QZ
