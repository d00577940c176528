// The drawing interface through which every window is painted.
//
// A renderer draws into render contexts (LRenderContextInfo), one per window. The window's paint
// handler fills the context's update region, calls RenderStart, lets the control tree draw
// through the operations below and calls RenderFinish, which puts the picture on the screen.
// Frames nest: a second context may be started while a first is current, and they finish in
// reverse order; the last started context is the current one, and every state operation acts on
// it. Without a current context the state operations do nothing.
//
// The base class implements the frame protocol and the render-state stack (origin, clip, alpha,
// stencil) that all renderers share; a renderer adds the drawing and, by overriding SetClip and
// OffsetOrigin (calling the base first), mirrors every change of clip and origin into its
// graphics library. All coordinates given to drawing operations are relative to the current
// origin. Everything runs on the user-interface thread; nothing here is locked.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"
#include "QZFramework/Renderer/RenderContextInfo.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Stencil.h"
#include "QZFramework/Utilities/Graphics/ColorRGBA.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

// Drawn by the renderers, defined with the bitmaps and the cached drawing lists.
class LBitmap;
template <class T> class PolylineT;
template <class T> class ColorRectListT;

class LRenderer : public LMeasurementRenderer
{
public:
    static constexpr std::int32_t kTypeOpenGL = 0;
    static constexpr std::int32_t kTypeGDIPlus = 1;
    static constexpr std::int32_t kTypeStub = 2;

    // How DrawBitmap fits a bitmap into its destination; any other value is an error.
    static constexpr std::int32_t kResizeStretch = 0;
    static constexpr std::int32_t kResizeTile = 1;
    static constexpr std::int32_t kResizeCenter = 2;

    // The renderer of the given type for a window; bounds are passed along and not used. Types
    // whose backend is not part of this build yield null. Any other type throws a domain error.
    // Defined apart from the rest of the class, in QZ::Renderers, with the renderers it makes.
    [[nodiscard]] static RCPtr<LRenderer>
    Create(std::int32_t type, const RectT<std::int32_t>& bounds, WindowHandle window);

    // kTypeOpenGL, kTypeGDIPlus or kTypeStub.
    virtual std::int32_t GetRendererType() const = 0;
    // Makes the renderer's own context for a window and stores it in out (releasing what out
    // held); 0 on success. The context belongs to the caller.
    [[nodiscard]] virtual QZRESULT InitRenderContextInfo(const RectT<std::int32_t>& viewport,
                                                         WindowHandle window, bool offScreen,
                                                         RCPtr<LRenderContextInfo>& out) = 0;
    // Stores the viewport of the current context; 0.
    virtual QZRESULT SetViewport(const RectT<std::int32_t>& viewport);
    // Replaces the stencil of the current state; 0.
    virtual QZRESULT SetStencil(const RCPtr<LStencil>& stencil);
    // Begins a frame on the context, which becomes the current one; 0. Throws a runtime error for
    // a null context and for one already started, leaving the started contexts as they were.
    virtual QZRESULT RenderStart(const RCPtr<LRenderContextInfo>& context);
    // Ends the frame of the current context; 0. Throws a runtime error, changing nothing, when the
    // context is not the current one (also when no frame is started).
    virtual QZRESULT RenderFinish(const RCPtr<LRenderContextInfo>& context);

    // One line of text with its layout box's top-left at the position.
    virtual void DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                          const PointT<std::int32_t>& position, const ColorRGBA& color) = 0;
    // Outlines a rectangle.
    virtual void DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color,
                          float lineWidth) = 0;
    // Fills a rectangle; with blend false the pixels take the colour, alpha included, instead of
    // having it composed over them.
    virtual void FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend) = 0;
    // FillRect (blend true) when the fill's alpha is above 0, then DrawRect when the outline's is.
    virtual void DrawFilledRect(const RectT<std::int32_t>& rect, const ColorRGBA& fill,
                                const ColorRGBA& outline, float lineWidth);
    // A list of coloured rectangles moved by the offset. With keepCached the renderer may keep
    // what it built for the list until the list changes.
    virtual void FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                                bool keepCached) = 0;
    virtual void DrawLine(const PointT<float>& from, const PointT<float>& to,
                          const ColorRGBA& color, float width) = 0;
    // The four polyline operations draw the points moved by offset and scaled by scale: pairwise
    // as separate segments, as one connected line, as a closed outline, and filled.
    virtual void DrawLineSegments(PolylineT<float>& polyline, const ColorRGBA& color,
                                  const PointT<float>& offset, const PointT<float>& scale,
                                  bool keepCached) = 0;
    virtual void DrawPolyline(PolylineT<float>& polyline, const ColorRGBA& color,
                              const PointT<float>& offset, const PointT<float>& scale,
                              bool keepCached) = 0;
    virtual void DrawPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                             const PointT<float>& offset, const PointT<float>& scale,
                             bool keepCached) = 0;
    virtual void FillPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                             const PointT<float>& offset, const PointT<float>& scale,
                             bool keepCached) = 0;
    // A bitmap fitted into the destination by one of the kResize types.
    virtual void DrawBitmap(const ConstRCPtr<LBitmap>& bitmap,
                            const RectT<std::int32_t>& destination, std::int32_t resizeType) = 0;
    // Copies a rectangle of an off-screen context's image, unscaled, to the destination point of
    // the current context; 0 on success.
    [[nodiscard]] virtual QZRESULT DrawSurface(const RCPtr<LRenderContextInfo>& source,
                                               const PointT<std::int32_t>& destination,
                                               const RectT<std::int32_t>& sourceRect) = 0;
    // Moves an off-screen context's image by the offset within itself; 0 on success.
    [[nodiscard]] virtual QZRESULT ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                                                 const PointT<std::int32_t>& offset) = 0;

    // Saves the state and moves the origin by the offset rounded to whole pixels; the clip stays
    // where it was on the screen.
    virtual void PushOffset(const PointT<double>& offset);
    // Saves the state, clips and moves the origin to the frame's top-left (rounded to whole
    // pixels). With inParentCoordinates the frame is in the current coordinates and the clip is
    // cut by the frame and the current clip; otherwise the frame is absolute and the clip is taken
    // as given, in the frame's own coordinates. A stencil is installed as given, or, when the
    // state already has one from an enclosing PushClip, as a fresh stencil of its size.
    virtual void PushClip(const RectT<double>& frame, const RectT<double>& clip,
                          const RCPtr<LStencil>& stencil, bool inParentCoordinates);
    // Saves a copy of the current state.
    virtual void PushState();
    // Restores the last saved state (through OffsetOrigin, SetClip and SetStencil, so that the
    // renderer's own transform and clip follow); nothing when no state is saved.
    virtual void PopState();
    // Stores the clip of the current state.
    virtual void SetClip(const RectT<double>& clip);
    // Adds the offset to the current origin.
    virtual void OffsetOrigin(const PointT<double>& offset);

    // The context of the innermost started frame, or null between frames.
    LRenderContextInfo* GetCurrentContext() const;
    // The current context's state, or null between frames.
    RenderState* GetCurrentState() const;

protected:
    // How many frames are started and not finished.
    std::int32_t GetStartedContextCount() const { return mStartedContexts.GetCount(); }

private:
    // In the order RenderStart accepted them; the last one is current.
    RCPtrArray<LRenderContextInfo> mStartedContexts;
};

} // namespace QZ
