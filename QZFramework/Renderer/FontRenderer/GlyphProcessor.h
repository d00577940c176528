// The receiver of a font renderer's glyphs.
//
// A font renderer walks a text and hands each character to a glyph processor, which caches,
// measures or draws it. Per text run: Begin (font and flags), then QueryGlyph and ProcessGlyph per
// character, then End. QueryGlyph answers from what the processor already holds; the work bits
// it returns tell the font renderer what it must still compute before ProcessGlyph. Used on the
// rendering thread only.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/FontRenderer/PixelBuffer.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class LFont;

// A glyph's pixel bounding box relative to the pen, y growing downwards. Full-width values, so
// glyphs of any size keep their true extent.
struct SGlyphBox
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] std::int32_t GetWidth() const { return right - left; }
    [[nodiscard]] std::int32_t GetHeight() const { return bottom - top; }
    friend bool operator==(const SGlyphBox&, const SGlyphBox&) = default;
};

class LGlyphProcessor : public virtual LRefCountedObject
{
public:
    // Begin flags. kFlagDefault is set by every caller and has no effect of its own.
    static constexpr std::uint32_t kFlagDefault = 0x1;
    static constexpr std::uint32_t kFlagCollectBounds = 0x2;
    static constexpr std::uint32_t kFlagUpload = 0x4;
    static constexpr std::uint32_t kFlagDraw = 0x8;
    static constexpr std::uint32_t kFlagsMeasure = kFlagDefault | kFlagCollectBounds;
    static constexpr std::uint32_t kFlagsDraw = 0xF;

    // Work bits of QueryGlyph; 0 means the processor filled glyph index, box and advance itself.
    static constexpr std::uint16_t kWorkLoad = 0x1;
    static constexpr std::uint16_t kWorkBox = 0x2;
    static constexpr std::uint16_t kWorkBitmap = 0x4;
    static constexpr std::uint16_t kWorkAll = kWorkLoad | kWorkBox | kWorkBitmap;

    // One character as the font renderer hands it over.
    struct SGlyph
    {
        // The position of the character in the text.
        std::uint32_t index = 0;
        // The UTF-16 unit, zero-extended.
        std::uint32_t character = 0;
        // Pixels from the text origin; x grows to the right, y upwards (the advances' direction).
        float penX = 0.0f;
        float penY = 0.0f;
        SGlyphBox box;
        // In 1/64 pixel.
        std::int32_t advanceX = 0;
        std::int32_t advanceY = 0;
        // 0 while not looked up.
        std::uint32_t glyphIndex = 0;
        // The 8-bit coverage image (0 transparent, 255 opaque); null when not rendered.
        RCPtr<LPixelBuffer<unsigned char>> bitmap;
    };

    // One glyph of one font as a processor keeps it.
    struct SCachedGlyph
    {
        // The UTF-16 unit and the key of a glyph table; 0 marks an empty entry.
        std::int32_t character = 0;
        std::uint32_t glyphIndex = 0;
        SGlyphBox box;
        std::int32_t advanceX = 0;
        std::int32_t advanceY = 0;
        // The texel of the glyph's top-left pixel in its font's atlas.
        std::uint16_t textureX = 0;
        std::uint16_t textureY = 0;
        // False when the atlas had no room for the image: the glyph still measures and advances
        // the pen but has nothing to draw.
        bool inAtlas = false;

        static long GetUniqueID(const SCachedGlyph& glyph) { return glyph.character; }
    };

    virtual void Begin(const ConstRCPtr<LFont>& font, std::uint32_t flags) = 0;
    virtual void End() = 0;
    [[nodiscard]] virtual std::uint16_t QueryGlyph(SGlyph& record) = 0;
    virtual void ProcessGlyph(SGlyph& record) = 0;
    // The bounds collected since Begin as x, y, width, height.
    virtual void GetBounds(RectT<float>& out) = 0;
};

} // namespace QZ
