// The font renderer that rasterises with FreeType.
//
// Fonts are found through the font-file list (LFontFileInfo), which the first living renderer
// scans. The FreeType library and its cache manager (at most 8 faces, 16 sizes and 4 MiB) are
// shared by every living renderer and end, with the font-file list, when the last one goes.
// Sizes are set in points at 96 dots per inch; text below 8 points is rendered in black and white,
// larger text anti-aliased. Used on the rendering thread only.
#pragma once

#include "QZFramework/Renderer/FontRenderer/FontRenderer.h"

#include <memory>

namespace QZ
{

class LFreetypeFontRenderer : public LFontRenderer
{
public:
    LFreetypeFontRenderer(const RCPtr<LGlyphProcessor>& first,
                          const RCPtr<LGlyphProcessor>& second);
    ~LFreetypeFontRenderer() override;

    [[nodiscard]] QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& lineHeight,
                                          std::int32_t& ascent, std::int32_t& descent) override;
    // Characters without a glyph in the face, or whose glyph cannot be loaded or rendered, are
    // left out without moving the pen. Throws what LFontFileInfo::GetFileID throws.
    std::uint32_t RenderText(const WideString& text, const ConstRCPtr<LFont>& font,
                             const RCPtr<LGlyphProcessor>& processor, std::uint32_t firstIndex,
                             float stopWidth, std::uint32_t flags) override;

    struct SharedLibrary;

private:
    std::shared_ptr<SharedLibrary> mLibrary;
};

} // namespace QZ
