// A bitmap rendered once at a destination size and kept for fast unscaled drawing; what the 2D
// renderer's bitmap cache holds.
#pragma once

#include "Platform/Graphics2D/CachedImage.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <memory>
#include <utility>

namespace QZ
{

class LGDICachedBitmap : public virtual LRefCountedObject
{
public:
    // Takes the rendered image's pixels over.
    explicit LGDICachedBitmap(std::unique_ptr<Graphics2D::Image> rendered)
        : mImage(std::move(rendered))
    {
    }

    [[nodiscard]] const Graphics2D::CachedImage& GetImage() const { return mImage; }

private:
    Graphics2D::CachedImage mImage;
};

} // namespace QZ
