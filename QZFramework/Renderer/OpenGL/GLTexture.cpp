#include "QZFramework/Renderer/OpenGL/GLTexture.h"

#include "QZFramework/Renderer/OpenGL/GLHeaders.h"
#include "QZFramework/Renderer/OpenGL/GLTextureImage.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"
#include "QZFramework/Utilities/Graphics/BitmapData.h"

namespace QZ
{

std::int32_t NextPowerOfTwo(std::int32_t n)
{
    if (n < 2)
    {
        return n == 1 ? 1 : 0;
    }
    std::int32_t power = 2;
    while (power < n && power < LGLTexture::kMaxTextureSize)
    {
        power *= 2;
    }
    return power;
}

std::int32_t FitTextureSize(std::int32_t& width, std::int32_t& height,
                            const std::function<bool(std::int32_t, std::int32_t)>& accepts)
{
    std::int32_t factor = 1;
    while (width > 1 && height > 1 && !accepts(width, height))
    {
        width /= 2;
        height /= 2;
        factor *= 2;
    }
    return factor;
}

LGLTexture::~LGLTexture()
{
    if (IsLoaded())
    {
        const GLuint name = mName;
        glDeleteTextures(1, &name);
    }
}

bool LGLTexture::IsLoaded() const
{
    return mName != kNoName && glIsTexture(mName) == GL_TRUE;
}

void LGLTexture::SetBitmap(const ConstRCPtr<LBitmap>& bitmap)
{
    mBitmap = bitmap;
    const RCPtr<LBitmapData> lock = bitmap ? bitmap->LockPixels() : nullptr;
    if (!lock || lock->GetPixels() == nullptr)
    {
        return;
    }
    CGLTextureImage image;
    image.Wrap(lock->GetPixels(), lock->GetStride(), 4, lock->GetWidth(), lock->GetHeight(),
               GL_BGRA, GL_UNSIGNED_BYTE);
    // Nearest sampling: linear sampling would blend the texture's unwritten padding and the
    // neighbouring parts of a shared skin image into the edges of every stretched bitmap.
    Upload(image, GL_RGBA8, kNearest, 1.0f);
}

std::int32_t LGLTexture::FitToMaximumSize(std::int32_t internalFormat, std::uint32_t format,
                                          std::uint32_t type)
{
    glBindTexture(mTarget, mName);
    DrainGLErrors();
    std::int32_t width = static_cast<std::int32_t>(mTextureWidth);
    std::int32_t height = static_cast<std::int32_t>(mTextureHeight);
    const std::int32_t factor = FitTextureSize(
        width, height,
        [&](std::int32_t w, std::int32_t h)
        {
            glTexImage2D(GL_PROXY_TEXTURE_2D, 0, internalFormat, w, h, 0, format, type, nullptr);
            GLint provedWidth = 0;
            GLint provedHeight = 0;
            glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &provedWidth);
            glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &provedHeight);
            const bool failed = glGetError() != GL_NO_ERROR;
            return !failed && provedWidth == w && provedHeight == h;
        });
    DrainGLErrors();
    mTextureWidth = static_cast<float>(width);
    mTextureHeight = static_cast<float>(height);
    return factor;
}

void LGLTexture::Upload(CGLTextureImage& image, std::int32_t internalFormat, std::uint32_t flags,
                        float scale)
{
    const bool alphaMask = internalFormat == GL_ALPHA8 || internalFormat == GL_ALPHA4;
    if (!IsLoaded())
    {
        GLuint name = 0;
        glGenTextures(1, &name);
        mName = name;
    }
    glBindTexture(mTarget, mName);
    const GLenum format = alphaMask ? GL_ALPHA : image.GetFormat();
    const GLenum type = alphaMask ? GL_UNSIGNED_BYTE : image.GetType();
    mImageWidth = static_cast<float>(image.GetWidth());
    mImageHeight = static_cast<float>(image.GetHeight());
    mLogicalWidth = mImageWidth / scale;
    mLogicalHeight = mImageHeight / scale;
    mTextureWidth = static_cast<float>(NextPowerOfTwo(image.GetWidth()));
    mTextureHeight = static_cast<float>(NextPowerOfTwo(image.GetHeight()));

    const bool nearest = (flags & kNearest) != 0;
    GLint minFilter = nearest ? GL_NEAREST : GL_LINEAR;
    if ((flags & kMipmaps) != 0)
    {
        minFilter = nearest ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR;
    }
    const GLint wrap = (flags & kRepeat) != 0 ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(mTarget, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(mTarget, GL_TEXTURE_MAG_FILTER, nearest ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(mTarget, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(mTarget, GL_TEXTURE_WRAP_T, wrap);
    DrainGLErrors();

    const std::int32_t factor = FitToMaximumSize(internalFormat, format, type);
    glTexImage2D(mTarget, 0, internalFormat, static_cast<GLsizei>(mTextureWidth),
                 static_cast<GLsizei>(mTextureHeight), 0, format, type, nullptr);
    DrainGLErrors();
    // An image that does not fit the texture (reduced by the driver's limit, or wider than the
    // largest texture) is scaled into all of it, as is one meant to repeat.
    const bool tooLarge = mImageWidth > mTextureWidth || mImageHeight > mTextureHeight;
    const bool differs = mImageWidth != mTextureWidth || mImageHeight != mTextureHeight;
    if ((factor >= 2 || tooLarge || (flags & kRepeat) != 0) && differs)
    {
        image.Rescale(static_cast<std::int32_t>(mTextureWidth),
                      static_cast<std::int32_t>(mTextureHeight));
        mImageWidth = mTextureWidth;
        mImageHeight = mTextureHeight;
    }
    if (alphaMask)
    {
        image.ConvertToAlphaMask();
    }
    image.Load(mTarget, internalFormat, (flags & kMipmaps) != 0);
}

void LGLTexture::Draw(float sx0, float sy0, float sx1, float sy1, float dx0, float dy0, float dx1,
                      float dy1) const
{
    if (!(mTextureWidth > 0.0f) || !(mTextureHeight > 0.0f) || !(mLogicalWidth > 0.0f) ||
        !(mLogicalHeight > 0.0f))
    {
        return;
    }
    // Source pixels to the part of the texture the image fills.
    const float su = mImageWidth / (mLogicalWidth * mTextureWidth);
    const float sv = mImageHeight / (mLogicalHeight * mTextureHeight);
    const float s0 = sx0 * su;
    const float t0 = sy0 * sv;
    const float s1 = sx1 * su;
    const float t1 = sy1 * sv;
    glEnable(mTarget);
    glBindTexture(mTarget, mName);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(dx0, dy0);
    glTexCoord2f(s0, t1);
    glVertex2f(dx0, dy1);
    glTexCoord2f(s1, t1);
    glVertex2f(dx1, dy1);
    glTexCoord2f(s1, t0);
    glVertex2f(dx1, dy0);
    glEnd();
    glDisable(mTarget);
}

} // namespace QZ
