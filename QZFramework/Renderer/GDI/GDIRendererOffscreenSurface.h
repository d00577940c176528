// One drawing buffer of a 2D render context: an image with the premultiplied ARGB format of the
// drawing surfaces and the Graphics that draws into it.
//
// A surface is sized between 1 x 1 and kMaxSide x kMaxSide pixels whatever it is asked for, so a
// window of any size never makes it allocate beyond that. Resizing makes a new, fully transparent
// image and a new Graphics (no clip, identity transform, default modes); otherwise the content,
// clip and transform persist from frame to frame. When the image cannot be made the surface has
// none (GetBitmap and GetGraphics are null) and drawing into it has no effect. Used on the
// user-interface thread only.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/RenderContextInfo.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>
#include <memory>

namespace QZ
{

namespace Graphics2D
{
class Graphics;
class Image;
} // namespace Graphics2D

class LGDIRendererOffscreenSurface : public virtual LRefCountedObject
{
public:
    // The largest width and height of a surface, which is also the largest viewport of a 2D
    // render context.
    static constexpr std::int32_t kMaxSide = 4096;

    // A surface for the window, sized by Resize.
    [[nodiscard]] static RCPtr<LGDIRendererOffscreenSurface>
    Create(const PointT<std::int32_t>& size, WindowHandle window);
    ~LGDIRendererOffscreenSurface() override;
    LGDIRendererOffscreenSurface(const LGDIRendererOffscreenSurface&) = delete;
    LGDIRendererOffscreenSurface& operator=(const LGDIRendererOffscreenSurface&) = delete;

    // The size limited to 1..kMaxSide on each axis.
    [[nodiscard]] static PointT<std::int32_t> LimitSize(const PointT<std::int32_t>& size);

    // Replaces image and Graphics by new ones of the size limited by LimitSize; 0.
    QZRESULT Resize(const PointT<std::int32_t>& size);
    // The image's width and height; (0, 0) without an image.
    [[nodiscard]] PointT<std::int32_t> GetSize() const;
    [[nodiscard]] Graphics2D::Image* GetBitmap() const { return mBitmap.get(); }
    [[nodiscard]] Graphics2D::Graphics* GetGraphics() const { return mGraphics.get(); }
    [[nodiscard]] WindowHandle GetWindow() const { return mWindow; }

    // Draws the source part of the image, unscaled, with its top-left corner at the destination
    // (through the target Graphics' transform and clip); false when that failed.
    bool Draw(Graphics2D::Graphics& target, const PointT<std::int32_t>& destination,
              const RectT<std::int32_t>& source) const;

private:
    explicit LGDIRendererOffscreenSurface(WindowHandle window);

    WindowHandle mWindow;
    std::unique_ptr<Graphics2D::Image> mBitmap;
    // Declared after the image, so that it goes before the image it draws into.
    std::unique_ptr<Graphics2D::Graphics> mGraphics;
};

} // namespace QZ
