// The pixels handed to a texture: a plain description of borrowed or owned rows, with the
// conversions an upload may need (an 8-bit alpha mask, a rescaled copy). Painting thread only,
// with the renderer's context current.
#pragma once

#include <cstdint>
#include <memory>

namespace QZ
{

class CGLTextureImage
{
public:
    CGLTextureImage() = default;
    CGLTextureImage(const CGLTextureImage&) = delete;
    CGLTextureImage& operator=(const CGLTextureImage&) = delete;
    ~CGLTextureImage() { Release(); }

    // Describes pixels that stay the caller's.
    void Wrap(const void* pixels, std::int32_t stride, std::int32_t bytesPerPixel,
              std::int32_t width, std::int32_t height, std::uint32_t format, std::uint32_t type);
    // Takes over every field of the source, leaving it empty.
    void MoveFrom(CGLTextureImage& source);
    // Frees owned pixels and empties the description.
    void Release();

    // An owned 8-bit mask of the 32-bit source (0xAARRGGBB per pixel): 0 where the whole pixel is
    // 0, else 255 minus its luminance, so dark pixels become opaque. Every byte of the mask is
    // written; where the source is smaller than the mask the bytes are 0.
    void MakeAlphaMask(std::int32_t width, std::int32_t height, const CGLTextureImage& source);
    // Replaces a 32-bit image by its alpha mask of the same size.
    void ConvertToAlphaMask();
    // Replaces the image by a copy scaled to the size (GLU).
    void Rescale(std::int32_t width, std::int32_t height);
    // Loads the pixels into the texture bound to the target at (0, 0) of level 0, or into every
    // level with mipmaps.
    void Load(std::uint32_t target, std::int32_t internalFormat, bool mipmaps) const;

    [[nodiscard]] std::uint32_t GetFormat() const { return mFormat; }
    [[nodiscard]] std::uint32_t GetType() const { return mType; }
    [[nodiscard]] const std::uint8_t* GetPixels() const { return mPixels; }
    [[nodiscard]] std::int32_t GetWidth() const { return mWidth; }
    [[nodiscard]] std::int32_t GetHeight() const { return mHeight; }
    [[nodiscard]] std::int32_t GetStride() const { return mStride; }
    [[nodiscard]] std::int32_t GetBytesPerPixel() const { return mBytesPerPixel; }

private:
    void SetUnpackLayout() const;

    std::uint32_t mFormat = 0;
    std::uint32_t mType = 0;
    std::unique_ptr<std::uint8_t[]> mOwned;
    const std::uint8_t* mPixels = nullptr;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    std::int32_t mStride = 0;
    std::int32_t mBytesPerPixel = 0;
};

} // namespace QZ
