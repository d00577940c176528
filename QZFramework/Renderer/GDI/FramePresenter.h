// Where the 2D renderer hands a finished frame to a window.
//
// The renderer draws every frame into an off-screen image of its render context; at the end of
// the frame it asks the window's presenter to show the rectangles of that image that the frame
// repainted. For the 2D renderer a window handle is the address of the window's presenter (see
// ToWindowHandle), which must outlive every render context made for it. Presenters are called on
// the user-interface thread, inside RenderFinish.
#pragma once

#include "QZFramework/Renderer/RenderContextInfo.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>
#include <span>

namespace QZ
{

namespace Graphics2D
{
class Image;
}

class IFramePresenter
{
public:
    virtual ~IFramePresenter() = default;

    // Copies each rectangle of the frame (pixels of the image, all inside it, in the order given)
    // to the same position of the window. The image is the render context's and is valid only
    // during the call.
    virtual void Present(Graphics2D::Image& frame,
                         std::span<const RectT<std::int32_t>> rectangles) = 0;

    // The window handle under which the 2D renderer reaches this presenter.
    [[nodiscard]] WindowHandle ToWindowHandle() { return static_cast<void*>(this); }
    // The presenter behind a window handle made by ToWindowHandle; null for a null handle.
    [[nodiscard]] static IFramePresenter* FromWindowHandle(WindowHandle window)
    {
        return static_cast<IFramePresenter*>(window);
    }
};

} // namespace QZ
