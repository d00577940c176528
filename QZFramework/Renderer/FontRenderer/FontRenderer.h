// A font renderer: turns a string in a font into positioned glyphs and hands each to a glyph
// processor, which caches, measures or draws it.
//
// The renderer holds two processors; its own operations use the second. Used on the rendering
// thread only.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/FontRenderer/GlyphProcessor.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LFont;

class LFontRenderer : public virtual LRefCountedObject
{
public:
    LFontRenderer(const RCPtr<LGlyphProcessor>& first, const RCPtr<LGlyphProcessor>& second);
    LFontRenderer(const LFontRenderer&) = delete;
    LFontRenderer& operator=(const LFontRenderer&) = delete;

    // The box of the text's ink and line: x and width span the glyphs (width one more than the
    // right edge), y and height span at least the font's ascent and descent. Throws what
    // GetFontMetrics and RenderText throw.
    virtual RectT<float>& MeasureText(RectT<float>& out, const WideString& text,
                                      const ConstRCPtr<LFont>& font);
    // Pixel metrics of the font: line height, ascent (negative, above the baseline) and descent;
    // E_FAIL, leaving the outs unchanged, when the font cannot be loaded.
    [[nodiscard]] virtual QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font,
                                                  std::int32_t& lineHeight, std::int32_t& ascent,
                                                  std::int32_t& descent) = 0;
    // Walks the text glyph by glyph into the processor, begun with the flags; returns the number
    // of characters walked. firstIndex is the index reported for the first character. A positive
    // stopWidth ends the walk at the first glyph that would end past it, which is counted but
    // not processed; 0 walks the whole text.
    virtual std::uint32_t RenderText(const WideString& text, const ConstRCPtr<LFont>& font,
                                     const RCPtr<LGlyphProcessor>& processor,
                                     std::uint32_t firstIndex, float stopWidth,
                                     std::uint32_t flags) = 0;
    // The bounds the second processor collected in the last walk; all zero without one.
    virtual void GetLastBounds(RectT<float>& out);
    // The processor the renderer's own operations use; a renderer that draws text walks it too.
    [[nodiscard]] const RCPtr<LGlyphProcessor>& GetSecondProcessor() const { return mSecond; }

private:
    RCPtr<LGlyphProcessor> mFirst;
    RCPtr<LGlyphProcessor> mSecond;
};

} // namespace QZ
