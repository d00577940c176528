// A mask description: the mask's size and a bounds rectangle within it. It carries no pixels;
// each renderer interprets it.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class LStencil : public virtual LRefCountedObject
{
public:
    // A stencil of the given size with bounds (0, 0, width, height); a negative extent counts as
    // 0, since renderers size their masks from it.
    static RCPtr<LStencil> Create(std::int32_t width, std::int32_t height);

    std::int32_t GetWidth() const { return mWidth; }
    std::int32_t GetHeight() const { return mHeight; }
    const RectT<std::int32_t>& GetBounds() const { return mBounds; }

private:
    LStencil(std::int32_t width, std::int32_t height);

    std::int32_t mWidth;
    std::int32_t mHeight;
    RectT<std::int32_t> mBounds;
};

} // namespace QZ
