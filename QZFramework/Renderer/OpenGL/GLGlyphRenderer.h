// The glyph processor of the OpenGL renderer: the atlas processor's per-font glyph atlases, each
// mirrored in a GL texture, with every glyph drawn as one textured quad in the current GL colour.
//
// With kFlagUpload the current font's atlas is copied into its texture at Begin and after each
// new glyph (only when something changed); with kFlagDraw each glyph's texels are drawn at its
// pen position, the text origin being the top of the line. The textures follow the atlases: a
// font whose atlas was dropped and rebuilt gets a new texture. Painting thread only, with the
// renderer's context current.
#pragma once

#include "QZFramework/Renderer/FontRenderer/AtlasGlyphProcessor.h"
#include "QZFramework/Renderer/OpenGL/GLTexture.h"

#include <cstdint>

namespace QZ
{

class LGLGlyphRenderer : public LAtlasGlyphProcessor
{
public:
    [[nodiscard]] static RCPtr<LGlyphProcessor> Create();

    void Begin(const ConstRCPtr<LFont>& font, std::uint32_t flags) override;
    void End() override;
    void ProcessGlyph(SGlyph& record) override;

    // The line's ascent in pixels (negative, above the baseline) that places the baseline of the
    // runs that follow: the drawing renderer's own metrics of the font.
    void SetLineAscent(std::int32_t ascent) { mAscent = ascent; }
    // Drops every texture (the atlases stay); the renderer calls it before its context goes.
    void ReleaseTextures();

private:
    // One atlas's texture; keeps the atlas it mirrors, so a rebuilt atlas is told apart.
    class LCachedFont : public LGLTexture
    {
    public:
        explicit LCachedFont(const RCPtr<LGlyphAtlas>& atlas) : mAtlas(atlas) {}
        [[nodiscard]] const RCPtr<LGlyphAtlas>& GetAtlas() const { return mAtlas; }
        // Copies the atlas image when it changed since the last copy.
        void Update();

    private:
        RCPtr<LGlyphAtlas> mAtlas;
        bool mLoaded = false;
    };

    using TextureCache =
        PurgableObjectCache<LCachedFont, std::int32_t, std::int32_t, &GetSelf<std::int32_t>, 8,
                            &GetBits<8, 4, std::int32_t>>;

    LGLGlyphRenderer();

    TextureCache mTextures;
    RCPtr<LCachedFont> mCurrentTexture;
    std::int32_t mAscent = 0;
};

} // namespace QZ
