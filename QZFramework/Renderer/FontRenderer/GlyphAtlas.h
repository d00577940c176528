// The glyph atlas of one font: every glyph drawn so far in the font, packed into one 8-bit image
// 512 texels wide, with a table of the glyphs' metrics and texel positions.
//
// Glyphs are packed in rows from the top left; each takes a cell of its bitmap plus a one-texel
// empty border. A row ends when the next cell would reach column 512; the next row starts below
// the tallest cell of the row before. The image only grows, to the next power of two of rows
// that holds the lowest cell, never past kMaxHeight rows. A glyph whose cell does not fit (wider
// than the atlas, or below the last possible row) keeps its metrics but not its image. The dirty
// rectangle collects what changed since the owner last copied the image elsewhere.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/FontRenderer/GlyphProcessor.h"
#include "QZFramework/Renderer/FontRenderer/PixelBuffer.h"
#include "QZFramework/Renderer/HashedList.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class LFont;

class LGlyphAtlas : public virtual LRefCountedObject
{
public:
    using SCachedGlyph = LGlyphProcessor::SCachedGlyph;

    static constexpr std::int32_t kWidth = 512;
    static constexpr std::int32_t kMaxHeight = 16384;

    // An empty atlas whose first image is 512 x (the font's size in points, rounded up to a
    // power of two) rows.
    explicit LGlyphAtlas(const ConstRCPtr<LFont>& font);
    ~LGlyphAtlas() override;
    LGlyphAtlas(const LGlyphAtlas&) = delete;
    LGlyphAtlas& operator=(const LGlyphAtlas&) = delete;

    // The glyph of the character, or null when the atlas has none.
    [[nodiscard]] const SCachedGlyph* FindGlyph(std::int32_t character);
    // Packs the bitmap (null: an empty one) and keeps the glyph under its character. Sets the
    // glyph's texel position and inAtlas; a bitmap that cannot be placed is left out with a
    // warning on the debug stream.
    void AddGlyph(SCachedGlyph& glyph, const LPixelBuffer<unsigned char>* bitmap);

    [[nodiscard]] const ConstRCPtr<LFont>& GetFont() const { return mFont; }
    // Null only when no image could be made.
    [[nodiscard]] const RCPtr<LPixelBuffer<unsigned char>>& GetImage() const { return mImage; }
    [[nodiscard]] std::int32_t GetGlyphCount() const { return mGlyphs.GetCount(); }
    [[nodiscard]] const RectT<float>& GetDirtyRect() const { return mDirty; }
    void ClearDirtyRect() { mDirty = {}; }
    [[nodiscard]] std::int32_t GetCursorX() const { return mCursorX; }
    [[nodiscard]] std::int32_t GetRowTop() const { return mRowTop; }
    [[nodiscard]] std::int32_t GetRowHeight() const { return mRowHeight; }

private:
    using GlyphTable =
        HashedList<SCachedGlyph, long, &SCachedGlyph::GetUniqueID, 8, &GetBits<8, 0, long>>;

    // Makes room for a cell at the cursor, starting a new row or growing the image as needed;
    // false, changing nothing, when the cell cannot be had.
    [[nodiscard]] bool ReserveCell(std::int32_t width, std::int32_t height);
    [[nodiscard]] bool GrowImage(std::int32_t rows);
    void CopyBitmap(const LPixelBuffer<unsigned char>& bitmap, std::int32_t x, std::int32_t y);
    void AddDirty(const RectT<float>& area);

    ConstRCPtr<LFont> mFont;
    std::int32_t mCursorX = 0;
    std::int32_t mRowTop = 0;
    std::int32_t mRowHeight = 0;
    RCPtr<LPixelBuffer<unsigned char>> mImage;
    RectT<float> mDirty;
    GlyphTable mGlyphs;
};

} // namespace QZ
