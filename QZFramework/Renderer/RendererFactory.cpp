// LRenderer::Create, apart from the rest of LRenderer so that the renderer interface does not
// depend on the renderers that implement it.
#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"
#include "QZFramework/Renderer/FontRenderer/FreetypeFontRenderer.h"
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/OpenGL/GLGlyphRenderer.h"
#include "QZFramework/Renderer/OpenGL/GLRenderer.h"
#include "QZFramework/Renderer/Renderer.h"

namespace QZ
{

RCPtr<LRenderer> LRenderer::Create(std::int32_t type, const RectT<std::int32_t>& /*bounds*/,
                                   WindowHandle window)
{
    switch (type)
    {
    case kTypeStub:
        return RCPtr<LRenderer>(new LD3D9Renderer);
    case kTypeGDIPlus:
        return RCPtr<LRenderer>(new LGDIRenderer);
    case kTypeOpenGL:
    {
        const RCPtr<LGlyphProcessor> glyphs = LGLGlyphRenderer::Create();
        return RCPtr<LRenderer>(new LGLRenderer(
            RCPtr<LFontRenderer>(new LFreetypeFontRenderer(glyphs, glyphs)), window));
    }
    default:
        QZ_THROW_DOMAIN("QZ::LRenderer::Create");
    }
}

} // namespace QZ
