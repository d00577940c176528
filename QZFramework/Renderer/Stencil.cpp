#include "QZFramework/Renderer/Stencil.h"

#include <algorithm>

namespace QZ
{

LStencil::LStencil(std::int32_t width, std::int32_t height)
    : mWidth(std::max(width, 0)), mHeight(std::max(height, 0)), mBounds(0, 0, mWidth, mHeight)
{
}

RCPtr<LStencil> LStencil::Create(std::int32_t width, std::int32_t height)
{
    return RCPtr<LStencil>(new LStencil(width, height));
}

} // namespace QZ
