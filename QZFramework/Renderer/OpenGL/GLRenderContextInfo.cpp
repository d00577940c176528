#include "QZFramework/Renderer/OpenGL/GLRenderContextInfo.h"

#include "Platform/GL/GLContext.h"
#include "QZFramework/Renderer/OpenGL/GLHeaders.h"

#include <algorithm>

namespace QZ
{
namespace
{

void AllocateTexture(GLuint texture, std::int32_t width, std::int32_t height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
}

} // namespace

LGLRenderContextInfo::LGLRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                           bool offScreen,
                                           std::shared_ptr<GLPlatform::GLContext> context)
    : LRenderContextInfo(viewport, window, offScreen), mContext(std::move(context))
{
    GLint dimensions[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dimensions);
    DrainGLErrors();
    mMaxViewportSize = {dimensions[0], dimensions[1]};
}

LGLRenderContextInfo::~LGLRenderContextInfo()
{
    if (mFramebuffer == 0 || !mContext || !mContext->MakeCurrent(nullptr))
    {
        return;
    }
    const GLuint framebuffer = mFramebuffer;
    const GLuint textures[2] = {mTexture, mCopy};
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(mCopy != 0 ? 2 : 1, textures);
    DrainGLErrors();
}

bool LGLRenderContextInfo::BindTarget()
{
    const RectT<std::int32_t>& viewport = GetViewport();
    const std::int32_t width = viewport.width > 0 ? viewport.width : 1;
    const std::int32_t height = viewport.height > 0 ? viewport.height : 1;
    if (mFramebuffer == 0)
    {
        GLuint framebuffer = 0;
        GLuint texture = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenTextures(1, &texture);
        mFramebuffer = framebuffer;
        mTexture = texture;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
    if (width != mWidth || height != mHeight)
    {
        AllocateTexture(mTexture, width, height);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mTexture, 0);
        mWidth = width;
        mHeight = height;
        ClearPicture();
    }
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    DrainGLErrors();
    return complete;
}

void LGLRenderContextInfo::ClearPicture() const
{
    // A new texture's pixels are undefined; the picture starts transparent.
    GLfloat clearColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    if (scissor == GL_TRUE)
    {
        glEnable(GL_SCISSOR_TEST);
    }
}

bool LGLRenderContextInfo::SwapBuffers() const
{
    if (IsOffScreen() || !mContext)
    {
        return true;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, mWidth, mHeight, 0, 0, mWidth, mHeight, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glEnable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
    DrainGLErrors();
    return mContext->SwapBuffers(GetWindow());
}

std::uint32_t LGLRenderContextInfo::CopyPicture()
{
    if (mFramebuffer == 0)
    {
        return 0;
    }
    if (mCopy == 0)
    {
        GLuint copy = 0;
        glGenTextures(1, &copy);
        mCopy = copy;
    }
    AllocateTexture(mCopy, mWidth, mHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFramebuffer);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, mWidth, mHeight);
    DrainGLErrors();
    return mCopy;
}

std::vector<std::uint32_t> LGLRenderContextInfo::ReadPixels() const
{
    std::vector<std::uint32_t> pixels;
    if (mFramebuffer == 0)
    {
        return pixels;
    }
    pixels.resize(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight));
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, mWidth, mHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    // GL counts rows from the bottom.
    const std::size_t width = static_cast<std::size_t>(mWidth);
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(mHeight) - 1; top < bottom;
         ++top, --bottom)
    {
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * width),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * width),
                         pixels.begin() + static_cast<std::ptrdiff_t>(bottom * width));
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    DrainGLErrors();
    return pixels;
}

} // namespace QZ
