#include "QZFramework/Renderer/OpenGL/GLGlyphRenderer.h"

#include "QZFramework/Renderer/OpenGL/GLHeaders.h"
#include "QZFramework/Renderer/OpenGL/GLTextureImage.h"

namespace QZ
{

RCPtr<LGlyphProcessor> LGLGlyphRenderer::Create()
{
    return RCPtr<LGlyphProcessor>(new LGLGlyphRenderer);
}

LGLGlyphRenderer::LGLGlyphRenderer() : mTextures(kFontCapacity) {}

void LGLGlyphRenderer::LCachedFont::Update()
{
    const RCPtr<LPixelBuffer<unsigned char>>& image = mAtlas->GetImage();
    const RectT<float>& dirty = mAtlas->GetDirtyRect();
    const bool changed = dirty.width > 1.1920929e-7f && dirty.height > 1.1920929e-7f;
    if (!image || (mLoaded && IsLoaded() && !changed))
    {
        return;
    }
    CGLTextureImage pixels;
    pixels.Wrap(image->GetPixelAddress(0, 0), static_cast<std::int32_t>(image->GetStride()), 1,
                static_cast<std::int32_t>(image->GetWidth()),
                static_cast<std::int32_t>(image->GetHeight()), GL_ALPHA, GL_UNSIGNED_BYTE);
    Upload(pixels, GL_ALPHA, kNearest, 1.0f);
    mAtlas->ClearDirtyRect();
    mLoaded = true;
}

void LGLGlyphRenderer::Begin(const ConstRCPtr<LFont>& font, std::uint32_t flags)
{
    LAtlasGlyphProcessor::Begin(font, flags);
    mCurrentTexture = nullptr;
    const RCPtr<LGlyphAtlas>& atlas = GetCurrentAtlas();
    if (!atlas || (flags & (kFlagUpload | kFlagDraw)) == 0)
    {
        return;
    }
    RCPtr<LCachedFont>& slot = mTextures.Lookup(LFont::GetUniqueID(font));
    if (!slot || slot->GetAtlas().Get() != atlas.Get())
    {
        slot = new LCachedFont(atlas);
    }
    mCurrentTexture = slot;
    if ((flags & kFlagUpload) != 0)
    {
        mCurrentTexture->Update();
    }
}

void LGLGlyphRenderer::End()
{
    LAtlasGlyphProcessor::End();
    mCurrentTexture = nullptr;
}

void LGLGlyphRenderer::ProcessGlyph(SGlyph& record)
{
    const bool isNew = GetCurrentEntry().character == 0;
    LAtlasGlyphProcessor::ProcessGlyph(record);
    if (!mCurrentTexture)
    {
        return;
    }
    const std::uint32_t flags = GetFlags();
    if (isNew && (flags & kFlagUpload) != 0)
    {
        mCurrentTexture->Update();
    }
    const SCachedGlyph* glyph = &GetCurrentEntry();
    if ((flags & kFlagDraw) == 0 || !glyph->inAtlas)
    {
        return;
    }
    const float width = static_cast<float>(glyph->box.GetWidth());
    const float height = static_cast<float>(glyph->box.GetHeight());
    const float tx = glyph->textureX;
    const float ty = glyph->textureY;
    const float baseline = static_cast<float>(mAscent) + record.penY;
    mCurrentTexture->Draw(tx, ty, tx + width, ty + height,
                          static_cast<float>(glyph->box.left) + record.penX,
                          static_cast<float>(glyph->box.top) - baseline,
                          static_cast<float>(glyph->box.right) + record.penX,
                          static_cast<float>(glyph->box.bottom) - baseline);
}

void LGLGlyphRenderer::ReleaseTextures()
{
    mCurrentTexture = nullptr;
    for (std::int32_t i = 0; i < mTextures.GetCapacity(); ++i)
    {
        (void)mTextures.Discard(mTextures.GetEntry(i).key);
    }
}

} // namespace QZ
