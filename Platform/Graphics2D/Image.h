// A bitmap of the 2D graphics layer (what GDI+ calls a Bitmap).
//
// An ARGB image keeps its straight pixels as the master copy, so pixel locks, pixel reads and
// PNG round trips are exact, as they were for GDI+ bitmaps; a premultiplied Cairo copy is made
// when the image is first drawn or drawn into, and each side is brought up to date from the other
// only when it is next used. Pixels that drawing did not change keep their exact straight value
// when the straight copy is refreshed. A PARGB image (the renderer's drawing surfaces) keeps only
// the premultiplied copy; locks and pixel reads convert.
//
// Images come from PNG bytes or files (other formats are refused with UnknownImageFormat), are
// made blank, or cloned. Sizes are limited (kMaxSide, kMaxPixels) so that damaged or hostile
// files cannot make the program allocate without bound. Every call reports its result, and the
// image keeps the last result other than Ok. An image is used on one thread at a time.
#pragma once

#include "Platform/Graphics2D/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace QZ::Graphics2D
{

class Image
{
public:
    static constexpr std::int32_t kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t{32} * 1024 * 1024;

    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // A fully transparent image.
    [[nodiscard]] static Status Create(std::int32_t width, std::int32_t height, PixelFormat format,
                                       std::unique_ptr<Image>& out);
    // Decodes a PNG held in memory into an ARGB image.
    [[nodiscard]] static Status FromMemory(const void* bytes, std::size_t size,
                                           std::unique_ptr<Image>& out);
    // Reads and decodes a PNG file (path in UTF-8); FileNotFound when it cannot be read.
    [[nodiscard]] static Status FromFile(const char* path, std::unique_ptr<Image>& out);
    // True for sizes that Create and the decoders accept.
    [[nodiscard]] static bool IsAcceptableSize(std::int64_t width, std::int64_t height);

    [[nodiscard]] std::int32_t GetWidth() const;
    [[nodiscard]] std::int32_t GetHeight() const;
    [[nodiscard]] PixelFormat GetPixelFormat() const;
    // Makes the premultiplied copy that drawing uses now instead of at the first drawing, on the
    // thread that decoded the image.
    Status PrepareForDrawing();

    // A new image of this image's format holding a copy of the area, which must lie inside.
    [[nodiscard]] Status CloneArea(const RectI& area, std::unique_ptr<Image>& out);

    // Hands out the area (which must lie inside) as straight ARGB until UnlockBits; one lock at a
    // time. Only a lock with LockModeWrite may write the pixels; its writes take effect then.
    [[nodiscard]] Status LockBits(const RectI& area, LockMode mode, BitmapData& data);
    // As above, in the format asked for (ARGB or PARGB). A lock in the image's own format hands
    // out its pixels without converting them, which is how a window takes a frame's pixels.
    [[nodiscard]] Status LockBits(const RectI& area, LockMode mode, PixelFormat format,
                                  BitmapData& data);
    Status UnlockBits(BitmapData& data);

    // Straight ARGB of one pixel; InvalidParameter outside the image, WrongState while locked.
    [[nodiscard]] Status GetPixel(std::int32_t x, std::int32_t y, std::uint32_t& argb);
    Status SetPixel(std::int32_t x, std::int32_t y, std::uint32_t argb);

    [[nodiscard]] Status EncodePng(std::vector<std::uint8_t>& bytes);
    [[nodiscard]] Status SaveToPngFile(const char* path);

    [[nodiscard]] Status GetLastStatus() const;

    struct Impl;
    // The layer's own drawing code reaches the pixels through this; no caller outside it needs to.
    Impl& GetImpl() const { return *mImpl; }

private:
    explicit Image(std::unique_ptr<Impl> impl);
    Status Record(Status status) const;

    std::unique_ptr<Impl> mImpl;
};

} // namespace QZ::Graphics2D
