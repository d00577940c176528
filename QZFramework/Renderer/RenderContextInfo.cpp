#include "QZFramework/Renderer/RenderContextInfo.h"

namespace QZ
{

LRenderContextInfo::LRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window,
                                       bool offScreen)
    : mWindow(window), mOffScreen(offScreen), mViewport(viewport)
{
}

} // namespace QZ
