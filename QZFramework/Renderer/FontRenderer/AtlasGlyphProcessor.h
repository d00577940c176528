// The glyph processor that packs glyphs into per-font atlases and measures text.
//
// The atlases of the 16 fonts used last are kept; a 17th font takes the place of the one used
// least recently, whose atlas is dropped and rebuilt glyph by glyph when that font comes back.
// A known glyph costs one table lookup: QueryGlyph fills the record and asks the font renderer
// for nothing. A new glyph is rendered once by the font renderer and packed by ProcessGlyph.
//
// This class keeps the pixels; showing them is the business of a renderer built on it, which
// copies the atlas image when kFlagUpload is given and draws the glyph's texels when kFlagDraw
// is. Used on the rendering thread only.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/FontRenderer/GlyphAtlas.h"
#include "QZFramework/Renderer/FontRenderer/GlyphProcessor.h"
#include "QZFramework/Renderer/PurgableObjectCache.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class LAtlasGlyphProcessor : public LGlyphProcessor
{
public:
    static constexpr std::int32_t kFontCapacity = 16;

    LAtlasGlyphProcessor();

    // Chooses the font's atlas (made when the font has none), clears the bounds.
    void Begin(const ConstRCPtr<LFont>& font, std::uint32_t flags) override;
    void End() override;
    // 0 with the record's glyph index, box and advance filled when the current font's atlas holds
    // the character (and also 0 without a current font, leaving the glyph index 0 so that the
    // font renderer skips the character); kWorkAll otherwise.
    [[nodiscard]] std::uint16_t QueryGlyph(SGlyph& record) override;
    // Packs a glyph new to the atlas, then widens the bounds by it when collecting bounds.
    void ProcessGlyph(SGlyph& record) override;
    void GetBounds(RectT<float>& out) override { out = mBounds; }

    // The atlas kept for the font, or null; does not count as a use.
    [[nodiscard]] RCPtr<LGlyphAtlas> FindAtlas(const ConstRCPtr<LFont>& font) const;

protected:
    [[nodiscard]] const RCPtr<LGlyphAtlas>& GetCurrentAtlas() const { return mCurrent; }
    [[nodiscard]] const SCachedGlyph& GetCurrentEntry() const { return mEntry; }
    [[nodiscard]] std::uint32_t GetFlags() const { return mFlags; }

private:
    using FontCache = PurgableObjectCache<LGlyphAtlas, ConstRCPtr<LFont>, std::int32_t,
                                          &LFont::GetUniqueID, 8, &GetBits<8, 4, std::int32_t>>;

    FontCache mFonts;
    RCPtr<LGlyphAtlas> mCurrent;
    // The entry the last QueryGlyph found, or an empty one.
    SCachedGlyph mEntry;
    RectT<float> mBounds;
    std::uint32_t mFlags = 0;
};

} // namespace QZ
