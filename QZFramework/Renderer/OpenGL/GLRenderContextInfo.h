// The drawing target of the OpenGL renderer: one window, or one off-screen image.
//
// Every target draws into a framebuffer object of its own whose colour texture is the target's
// picture, so the picture survives between frames whatever the window system does with its
// buffers: a window's frame is copied to its back buffer and swapped, and an off-screen picture is
// what DrawSurface draws from. The GL objects are made and resized at frame start and deleted
// with the target, with its context made current for that. Painting thread only.
#pragma once

#include "QZFramework/Renderer/RenderContextInfo.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace QZ
{

namespace GLPlatform
{
class GLContext;
}

class LGLRenderContextInfo : public LRenderContextInfo
{
public:
    // The context must be current; the largest viewport is read from it.
    LGLRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window, bool offScreen,
                         std::shared_ptr<GLPlatform::GLContext> context);
    ~LGLRenderContextInfo() override;

    std::pair<std::int32_t, std::int32_t> GetMaxViewportSize() const override
    {
        return mMaxViewportSize;
    }

    // Makes the picture the viewport's size (kept when it already is; a new one is transparent)
    // and draws into it from now on; false when the driver refused the framebuffer.
    [[nodiscard]] bool BindTarget();
    // Copies the picture to the window's back buffer and shows it; nothing for an off-screen
    // target. False when the window system refused.
    [[nodiscard]] bool SwapBuffers() const;
    // A copy of the current picture in a second texture (for moving the picture within itself).
    [[nodiscard]] std::uint32_t CopyPicture();

    // The colour texture holding the picture.
    [[nodiscard]] std::uint32_t GetTextureName() const { return mTexture; }
    [[nodiscard]] std::int32_t GetPictureWidth() const { return mWidth; }
    [[nodiscard]] std::int32_t GetPictureHeight() const { return mHeight; }
    // The picture as straight ARGB pixels, rows top down. Leaves the framebuffer being drawn
    // into as it was.
    [[nodiscard]] std::vector<std::uint32_t> ReadPixels() const;

private:
    void ClearPicture() const;

    std::shared_ptr<GLPlatform::GLContext> mContext;
    std::pair<std::int32_t, std::int32_t> mMaxViewportSize{0, 0};
    std::uint32_t mFramebuffer = 0;
    std::uint32_t mTexture = 0;
    std::uint32_t mCopy = 0;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
};

} // namespace QZ
