#include "QZFramework/Renderer/OpenGL/GLTextureImage.h"

#include "QZFramework/Renderer/OpenGL/GLHeaders.h"

#include <cstring>

namespace QZ
{

void CGLTextureImage::Wrap(const void* pixels, std::int32_t stride, std::int32_t bytesPerPixel,
                           std::int32_t width, std::int32_t height, std::uint32_t format,
                           std::uint32_t type)
{
    Release();
    mPixels = static_cast<const std::uint8_t*>(pixels);
    mStride = stride;
    mBytesPerPixel = bytesPerPixel;
    mWidth = width;
    mHeight = height;
    mFormat = format;
    mType = type;
}

void CGLTextureImage::MoveFrom(CGLTextureImage& source)
{
    if (&source == this)
    {
        return;
    }
    Release();
    mFormat = source.mFormat;
    mType = source.mType;
    mOwned = std::move(source.mOwned);
    mPixels = source.mPixels;
    mWidth = source.mWidth;
    mHeight = source.mHeight;
    mStride = source.mStride;
    mBytesPerPixel = source.mBytesPerPixel;
    source.mPixels = nullptr;
    source.Release();
}

void CGLTextureImage::Release()
{
    mOwned.reset();
    mPixels = nullptr;
    mFormat = mType = 0;
    mWidth = mHeight = mStride = mBytesPerPixel = 0;
}

void CGLTextureImage::MakeAlphaMask(std::int32_t width, std::int32_t height,
                                    const CGLTextureImage& source)
{
    const std::int32_t stride = (width + 3) & ~3;
    auto mask = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(stride) *
                                                 static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height && y < source.mHeight; ++y)
    {
        const std::uint8_t* row = source.mPixels + static_cast<std::ptrdiff_t>(y) * source.mStride;
        for (std::int32_t x = 0; x < width && x < source.mWidth; ++x)
        {
            std::uint32_t argb = 0;
            std::memcpy(&argb, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof argb);
            const double g = (argb >> 8) & 0xFF;
            const double r = (argb >> 16) & 0xFF;
            const double b = argb & 0xFF;
            mask[static_cast<std::size_t>(y) * stride + x] =
                argb == 0 ? 0
                          : static_cast<std::uint8_t>(
                                255 - static_cast<std::int32_t>(0.59 * g + 0.3 * r + 0.11 * b));
        }
    }
    Release();
    mOwned = std::move(mask);
    mPixels = mOwned.get();
    mFormat = GL_ALPHA;
    mType = GL_UNSIGNED_BYTE;
    mWidth = width;
    mHeight = height;
    mStride = stride;
    mBytesPerPixel = 1;
}

void CGLTextureImage::ConvertToAlphaMask()
{
    if (mBytesPerPixel != 4)
    {
        return;
    }
    CGLTextureImage source;
    source.MoveFrom(*this);
    MakeAlphaMask(source.mWidth, source.mHeight, source);
}

void CGLTextureImage::SetUnpackLayout() const
{
    if (mBytesPerPixel <= 0)
    {
        return;
    }
    const std::int32_t remainder = mStride % mBytesPerPixel;
    std::int32_t alignment = 1;
    while (remainder != 0 && alignment <= remainder)
    {
        alignment *= 2;
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, mStride / mBytesPerPixel);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void CGLTextureImage::Rescale(std::int32_t width, std::int32_t height)
{
    if (mPixels == nullptr || width <= 0 || height <= 0)
    {
        return;
    }
    CGLTextureImage old;
    old.MoveFrom(*this);
    const std::int32_t stride = (old.mBytesPerPixel * width + 3) & ~3;
    mOwned = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(stride) *
                                              static_cast<std::size_t>(height));
    mPixels = mOwned.get();
    mFormat = old.mFormat;
    mType = old.mType;
    mBytesPerPixel = old.mBytesPerPixel;
    mWidth = width;
    mHeight = height;
    mStride = stride;
    old.SetUnpackLayout();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    (void)gluScaleImage(old.mFormat, old.mWidth, old.mHeight, old.mType, old.mPixels, width, height,
                        mType, mOwned.get());
    DrainGLErrors();
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void CGLTextureImage::Load(std::uint32_t target, std::int32_t internalFormat, bool mipmaps) const
{
    if (mPixels == nullptr)
    {
        return;
    }
    SetUnpackLayout();
    if (mipmaps)
    {
        (void)gluBuild2DMipmaps(target, internalFormat, mWidth, mHeight, mFormat, mType, mPixels);
    }
    else
    {
        glTexSubImage2D(target, 0, 0, 0, mWidth, mHeight, mFormat, mType, mPixels);
    }
    DrainGLErrors();
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

} // namespace QZ
