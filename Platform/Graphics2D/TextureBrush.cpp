#include "Platform/Graphics2D/TextureBrush.h"

#include "Platform/Graphics2D/ImageImpl.h"
#include "Platform/Graphics2D/SurfaceCopy.h"

namespace QZ::Graphics2D
{

TextureBrush::TextureBrush(Image& image, const RectI& source)
    : mImpl(std::make_unique<Impl>(image.GetImpl().CopyArea(source)))
{
    if (mImpl->surface == nullptr)
    {
        mStatus = image.GetImpl().Contains(source) ? Status::OutOfMemory : Status::InvalidParameter;
    }
}

TextureBrush::~TextureBrush() = default;

} // namespace QZ::Graphics2D
