// The shared image type of the skins.
//
// An owner bitmap holds an image (loaded from a file, from an embedded "GDIPLUS" resource, or
// made); a sub-bitmap shows a rectangle of its owner's image and keeps the owner alive through
// its parent link (a sub-bitmap's parent is always an owner). Bitmaps are immutable once made,
// except that ApplyColorizer tints fresh clones.
//
// Names: a name beginning with "::" names the resource of type "GDIPLUS" whose name is the rest,
// upper-cased, with full stops and spaces turned into underscores ("::a b.png" is A_B_PNG); any
// other name is a file path (UTF-8 on the way to the system).
//
// The named-bitmap cache maps a key to the bitmap loaded for it: the upper-cased name for "::"
// names, the resolved path (File::GetLongPath) for files, its case kept (two files differing only
// in case are different files here). Its reference counts as an internal reference, so a bitmap that only the cache
// holds leaves it; a later request loads it again. Bitmaps are always held through RCPtr, and
// bitmaps and the cache are used on the user-interface thread only.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/BitmapData.h"
#include "QZFramework/Utilities/Graphics/ColorRGBA.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace QZ
{

namespace Graphics2D
{
class Image;
}

class LBitmap : public virtual LRefCountedObject
{
public:
    // Loads the image of the name; a bitmap whose image cannot be loaded has no image and a size
    // of 0 x 0.
    LBitmap(const WideString& name, const WideString& cacheKey);
    ~LBitmap() override;
    LBitmap(const LBitmap&) = delete;
    LBitmap& operator=(const LBitmap&) = delete;

    // The cached bitmap of the name, loaded on first use; null when it cannot be loaded (nothing
    // is cached then, so a later request tries again).
    [[nodiscard]] static RCPtr<LBitmap> GetNamedBitmap(const WideString& name);
    // Starts decoding the named images on threads of their own, so that the first GetNamedBitmap
    // of each takes the decoded image (waiting for the rest of its decoding) instead of decoding
    // it then. Names already cached or being decoded are skipped. Called from the thread that
    // asks for named bitmaps.
    static void PrepareNamedBitmaps(const std::vector<WideString>& names);
    // Drops the decodings PrepareNamedBitmaps started for the names, waiting for any still
    // running: for images nothing will ask for, such as those of a skin that was refused.
    static void ForgetPreparedBitmaps(const std::vector<WideString>& names);

    // A bitmap sharing the image, showing (x + this x, y + this y, width, height) cut to the
    // image; with a width or height below 1, all of this bitmap.
    [[nodiscard]] RCPtr<LBitmap> CreateSubBitmap(std::int32_t x, std::int32_t y, std::int32_t width,
                                                 std::int32_t height) const;
    // A new owner bitmap holding a copy of this bitmap's rectangle; null for a bitmap without
    // pixels.
    [[nodiscard]] RCPtr<LBitmap> Clone() const;
    // The image behind the bitmap (its own or its owner's); null when there is none.
    [[nodiscard]] Graphics2D::Image* GetBitmapData() const;
    // A lock on the owner's whole image (for a sub-bitmap, its parent's).
    [[nodiscard]] RCPtr<LBitmapData>
    LockPixels(Graphics2D::LockMode mode = Graphics2D::LockModeRead) const;
    // The pixel at (x, y) of this bitmap, each channel / 255; all zeros outside the bitmap or
    // when it cannot be read.
    [[nodiscard]] ColorRGBA GetPixelColor(std::int32_t x, std::int32_t y) const;

    // The bitmap of a skin part: a tinted clone of the image, or of the mask when there is no
    // image, or else a bitmap of the size filled by the colorizer. Null when the image or mask
    // has no pixels or the size is too large. An image and a mask together are a domain error.
    [[nodiscard]] static RCPtr<LBitmap> CreatePartBitmap(const ConstRCPtr<LColorizer>& colorizer,
                                                         float alpha,
                                                         const PointT<std::int32_t>& size,
                                                         const RCPtr<LBitmap>& image,
                                                         const RCPtr<LBitmap>& mask);
    // Tints the bitmap's pixels in place towards the colorizer's colour (for a gradient, the
    // colour of each row) by the colour's alpha times alpha; the pixels' own alpha is kept. A
    // null bitmap or colorizer is a runtime error.
    static void ApplyColorizer(const RCPtr<LBitmap>& bitmap,
                               const ConstRCPtr<LColorizer>& colorizer, float alpha);
    // A bitmap of the size filled by the colorizer, its colours' alpha times alpha. A size that
    // is not positive, or a null colorizer, is a runtime error; null when the size is too large.
    [[nodiscard]] static RCPtr<LBitmap>
    CreateColorizedBitmap(const ConstRCPtr<LColorizer>& colorizer, float alpha,
                          const PointT<std::int32_t>& size);
    // A bitmap of the size in one colour. A size that is not positive is a runtime error; null
    // when the size is too large.
    [[nodiscard]] static RCPtr<LBitmap> CreateFilledBitmap(const PointT<std::int32_t>& size,
                                                           const ColorRGBA& color);
    // A bitmap of the size shading from the top colour to the bottom one, each row taking the
    // colour at its middle. Size rules as for CreateFilledBitmap.
    [[nodiscard]] static RCPtr<LBitmap> CreateGradientFilledBitmap(const PointT<std::int32_t>& size,
                                                                   const ColorRGBA& top,
                                                                   const ColorRGBA& bottom);
    // The identity of the image behind a bitmap (sub-bitmaps share their owner's); 0 for null.
    [[nodiscard]] static std::int32_t GetHandle(const ConstRCPtr<LBitmap>& bitmap);

    // Leaves the named-bitmap cache; E_FAIL when this bitmap is not in it.
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] std::int32_t GetX() const { return mX; }
    [[nodiscard]] std::int32_t GetY() const { return mY; }
    [[nodiscard]] std::int32_t GetWidth() const { return mWidth; }
    [[nodiscard]] std::int32_t GetHeight() const { return mHeight; }
    [[nodiscard]] const RCPtr<LBitmap>& GetParent() const { return mParent; }
    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] const WideString& GetCacheKey() const { return mCacheKey; }

private:
    // An owner of a made image.
    LBitmap(std::unique_ptr<Graphics2D::Image> image, const WideString& name);
    // A sub-bitmap of an owner.
    LBitmap(const RCPtr<LBitmap>& owner, std::int32_t x, std::int32_t y, std::int32_t width,
            std::int32_t height);

    void Load();
    void TakeImage(std::unique_ptr<Graphics2D::Image> image);
    [[nodiscard]] static RCPtr<LBitmap> CreateShadedBitmap(const char* method,
                                                           const PointT<std::int32_t>& size,
                                                           const ColorRGBA& top,
                                                           const ColorRGBA& bottom);

    std::int32_t mX = 0;
    std::int32_t mY = 0;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    RCPtr<LBitmap> mParent;
    WideString mName;
    WideString mCacheKey;
    std::unique_ptr<Graphics2D::Image> mImage;
    std::int32_t mHandle = 0;
};

} // namespace QZ
