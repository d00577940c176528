// An image prepared for fast unscaled drawing (what GDI+ calls a CachedBitmap): a premultiplied
// copy made once and blitted at whole-pixel positions.
#pragma once

#include "Platform/Graphics2D/Image.h"
#include "Platform/Graphics2D/Types.h"

#include <memory>

namespace QZ::Graphics2D
{

class CachedImage
{
public:
    // Takes a copy of the whole image; the image may change or go afterwards.
    explicit CachedImage(Image& image);
    // Takes the image's own pixels, without a copy (null: an empty, failed one).
    explicit CachedImage(std::unique_ptr<Image> image);
    ~CachedImage();
    CachedImage(const CachedImage&) = delete;
    CachedImage& operator=(const CachedImage&) = delete;

    [[nodiscard]] Status GetLastStatus() const { return mStatus; }
    [[nodiscard]] std::int32_t GetWidth() const { return mWidth; }
    [[nodiscard]] std::int32_t GetHeight() const { return mHeight; }

    struct Impl;
    Impl& GetImpl() const { return *mImpl; }

private:
    std::unique_ptr<Impl> mImpl;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    Status mStatus = Status::Ok;
};

} // namespace QZ::Graphics2D
