// The render context of the stub renderer: nothing is drawable in it.
#pragma once

#include "QZFramework/Renderer/RenderContextInfo.h"

namespace QZ
{

class LD3D9RenderContextInfo : public LRenderContextInfo
{
public:
    using LRenderContextInfo::LRenderContextInfo;

    // 0 x 0.
    std::pair<std::int32_t, std::int32_t> GetMaxViewportSize() const override;
};

} // namespace QZ
