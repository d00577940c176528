#include "QZFramework/Renderer/D3D9/D3D9RenderContextInfo.h"

namespace QZ
{

std::pair<std::int32_t, std::int32_t> LD3D9RenderContextInfo::GetMaxViewportSize() const
{
    return {0, 0};
}

} // namespace QZ
