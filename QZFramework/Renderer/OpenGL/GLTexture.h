// A 2-D OpenGL texture holding one image: a bitmap's whole image, or a glyph atlas.
//
// The texture is allocated in powers of two (at most kMaxTextureSize on a side) and the image
// occupies its top-left corner, row 0 at texel row 0. An image larger than the texture the
// driver accepts is scaled down into the whole texture; Draw takes source rectangles in the
// image's own pixels either way. The GL name is made at the first upload and deleted with the
// object, so it must go while the renderer's context is current (the renderer sees to that).
// Painting thread only.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <cstdint>
#include <functional>

namespace QZ
{

class CGLTextureImage;

// The smallest power of two not below n, at most 16384; 1 for 1 and 0 below 1.
[[nodiscard]] std::int32_t NextPowerOfTwo(std::int32_t n);

// How many times a width x height texture must be halved (both sides, while both exceed 1)
// before accepts says yes: 1, 2, 4, ...
[[nodiscard]] std::int32_t
FitTextureSize(std::int32_t& width, std::int32_t& height,
               const std::function<bool(std::int32_t width, std::int32_t height)>& accepts);

class LGLTexture : public virtual LRefCountedObject
{
public:
    static constexpr std::uint32_t kNoName = 0xFFFFFFFFu;
    static constexpr std::int32_t kMaxTextureSize = 16384;
    // Upload flags.
    static constexpr std::uint32_t kNearest = 0x1;
    static constexpr std::uint32_t kRepeat = 0x2;
    static constexpr std::uint32_t kMipmaps = 0x4;

    LGLTexture() = default;
    ~LGLTexture() override;
    LGLTexture(const LGLTexture&) = delete;
    LGLTexture& operator=(const LGLTexture&) = delete;

    // Loads the bitmap's whole image (a sub-bitmap's owner image), sampled nearest.
    void SetBitmap(const ConstRCPtr<LBitmap>& bitmap);
    // Allocates the texture for the image and loads it; the image may be converted or rescaled
    // on the way.
    void Upload(CGLTextureImage& image, std::int32_t internalFormat, std::uint32_t flags,
                float scale);
    // Draws the source rectangle (image pixels) onto the destination as one quad, modulated by
    // the current colour.
    void Draw(float sx0, float sy0, float sx1, float sy1, float dx0, float dy0, float dx1,
              float dy1) const;

    // True when the name still names a texture of the current context.
    [[nodiscard]] bool IsLoaded() const;
    [[nodiscard]] std::uint32_t GetName() const { return mName; }
    [[nodiscard]] float GetTextureWidth() const { return mTextureWidth; }
    [[nodiscard]] float GetTextureHeight() const { return mTextureHeight; }
    [[nodiscard]] float GetImageWidth() const { return mImageWidth; }
    [[nodiscard]] float GetImageHeight() const { return mImageHeight; }
    [[nodiscard]] float GetLogicalWidth() const { return mLogicalWidth; }
    [[nodiscard]] float GetLogicalHeight() const { return mLogicalHeight; }

private:
    // Halves the texture size until the driver's proxy accepts it; the reduction factor.
    std::int32_t FitToMaximumSize(std::int32_t internalFormat, std::uint32_t format,
                                  std::uint32_t type);

    std::uint32_t mTarget = 0x0DE1; // GL_TEXTURE_2D
    std::uint32_t mName = kNoName;
    float mTextureWidth = 0.0f;
    float mTextureHeight = 0.0f;
    float mImageWidth = 0.0f;
    float mImageHeight = 0.0f;
    float mLogicalWidth = 0.0f;
    float mLogicalHeight = 0.0f;
    ConstRCPtr<LBitmap> mBitmap;
};

} // namespace QZ
