#include "Platform/Graphics2D/CachedImage.h"

#include "Platform/Graphics2D/ImageImpl.h"
#include "Platform/Graphics2D/SurfaceCopy.h"

namespace QZ::Graphics2D
{

CachedImage::CachedImage(Image& image)
    : mImpl(std::make_unique<Impl>(
          image.GetImpl().CopyArea({0, 0, image.GetWidth(), image.GetHeight()})))
{
    if (mImpl->surface == nullptr)
    {
        mStatus = Status::OutOfMemory;
        return;
    }
    mWidth = image.GetWidth();
    mHeight = image.GetHeight();
}

CachedImage::CachedImage(std::unique_ptr<Image> image)
    : mImpl(std::make_unique<Impl>(image ? image->GetImpl().ReleaseSurface() : nullptr))
{
    if (mImpl->surface == nullptr)
    {
        mStatus = Status::OutOfMemory;
        return;
    }
    mWidth = image->GetWidth();
    mHeight = image->GetHeight();
}

CachedImage::~CachedImage() = default;

} // namespace QZ::Graphics2D
