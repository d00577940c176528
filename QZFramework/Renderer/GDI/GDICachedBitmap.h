// A bitmap rendered once at a destination size and kept for fast unscaled drawing; what the 2D
// renderer's bitmap cache holds.
#pragma once

#include "Platform/Graphics2D/CachedImage.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LGDICachedBitmap : public virtual LRefCountedObject
{
public:
    // Takes a copy of the rendered image, which may go afterwards.
    explicit LGDICachedBitmap(Graphics2D::Image& rendered) : mImage(rendered) {}

    [[nodiscard]] const Graphics2D::CachedImage& GetImage() const { return mImage; }

private:
    Graphics2D::CachedImage mImage;
};

} // namespace QZ
