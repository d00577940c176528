// The render context of the 2D renderer: a window's or an off-screen image's drawing target with
// two drawing buffers.
//
// Every drawing operation of a frame goes into the front surface. At the end of a window's frame
// Present hands the rectangles of the update region, cut to the surface, to the window's
// presenter (FramePresenter.h); an off-screen context keeps its image in memory for DrawSurface
// and needs no window. The back surface is the spare buffer that ScrollSurface swaps in. Both
// surfaces are sized to the viewport, limited to 1..4096 pixels on each axis.
//
// Used on the user-interface thread only, inside the frames of the renderer that made it.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/GDI/GDIRendererOffscreenSurface.h"
#include "QZFramework/Renderer/RenderContextInfo.h"

#include <cstdint>
#include <utility>

namespace QZ
{

namespace Graphics2D
{
class Graphics;
}

class LGDIRenderContextInfo : public LRenderContextInfo
{
public:
    // Surfaces of the viewport's size. For a window context the window handle is its presenter's
    // (IFramePresenter::ToWindowHandle); it may be null, and then nothing is presented.
    LGDIRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window, bool offScreen);
    ~LGDIRenderContextInfo() override;

    [[nodiscard]] static RCPtr<LGDIRenderContextInfo> Create(const RectT<std::int32_t>& viewport,
                                                             WindowHandle window, bool offScreen);

    // 4096 x 4096.
    std::pair<std::int32_t, std::int32_t> GetMaxViewportSize() const override;

    [[nodiscard]] const RCPtr<LGDIRendererOffscreenSurface>& GetFrontSurface() const
    {
        return mFrontSurface;
    }
    [[nodiscard]] const RCPtr<LGDIRendererOffscreenSurface>& GetBackSurface() const
    {
        return mBackSurface;
    }
    // The front surface's Graphics, which every drawing operation uses; null when the surface
    // could not be made.
    [[nodiscard]] Graphics2D::Graphics* GetGraphics() const;

    // Exchanges front and back; nothing is copied.
    void SwapSurfaces();
    // Sizes the surfaces for a new frame: both are made anew when the front surface's size is not
    // the viewport's (as limited), or when the update region is exactly one rectangle equal to
    // the viewport; otherwise they keep their content.
    void PrepareSurfaces();
    // Finishes the frame's drawing and, for a window context, presents the update region's
    // rectangles from the last to the first.
    void Present();

private:
    [[nodiscard]] bool IsWholeViewportDirty() const;

    RCPtr<LGDIRendererOffscreenSurface> mFrontSurface;
    RCPtr<LGDIRendererOffscreenSurface> mBackSurface;
};

} // namespace QZ
