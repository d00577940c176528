// The text element of a look: a text, a font, a layout box and two alignment factors, broken
// into lines and measured through a renderer's measuring interface.
//
// Lines and their boxes are computed on demand and kept until the text, font, box, wrapping or
// alignment changes. Measuring goes through the application's renderer (see ApplicationBase.h);
// without a renderer or a font every text measures as an empty box. A measured box whose x is
// not 0 is taken from the pen position: x becomes 0 and the width grows by the old x. Line
// heights below 0 (a renderer that cannot measure reports -1) count as 0.
//
// Breaking: a line breaks at its last space that lets it fit (the space starts the next line),
// or after its last hyphen-minus when that fits too and lies later; a line without either stays
// over-long. Widths are compared as floats; the whole text fits only when strictly narrower than
// the width, its parts when not wider. Used on the user-interface thread only.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/StringArrayT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LFontText : public virtual LRefCountedObject
{
public:
    LFontText() = default;

    void SetText(const WideString& text);
    void SetFont(const RCPtr<LFont>& font);
    // hAlign 0 puts each line at the left of the box, 1 at the right; vAlign likewise places the
    // block of lines from the top to the bottom.
    void SetAlignment(float hAlign, float vAlign);
    void SetWrap(bool wrap);
    void SetBoxSize(std::int32_t width, std::int32_t height);

    [[nodiscard]] const WideString& GetText() const { return mText; }
    [[nodiscard]] const RCPtr<LFont>& GetFont() const { return mFont; }

    // Lays the text out when needed and returns the number of lines.
    std::uint32_t GetLineCount();
    // The laid-out lines and their boxes (relative to the layout box), after GetLineCount.
    [[nodiscard]] const WideStringArray& GetLines() const { return mLines; }
    [[nodiscard]] const Array<RectT<float>>& GetLineBoxes() const { return mLineBoxes; }

    // The line height times the number of lines the text takes at that width (wrapped when
    // wrapping is on); the kept lines do not change.
    [[nodiscard]] std::uint32_t GetHeightForWidth(std::int32_t width) const;
    // The widest of the text's line-feed separated pieces, plus 0.99, truncated.
    [[nodiscard]] std::int32_t GetNaturalWidth() const;
    // Width and height of the union of (0, 0) with every line box, each rounded half away from
    // zero and kept within +-8388608.
    [[nodiscard]] PointT<std::int32_t> GetTextSize();

    // Breaks the text into lines no wider than maxWidth where it can; every paragraph, even an
    // empty one, gives at least one line.
    void WrapText(LMeasurementRenderer* renderer, std::int32_t maxWidth,
                  WideStringArray& out) const;
    // The number of characters of text's first line at maxWidth.
    [[nodiscard]] std::int32_t FindLineBreak(LMeasurementRenderer* renderer, std::int32_t maxWidth,
                                             const WideString& text) const;
    // Measures the kept lines (one empty line when there are none) and places their boxes.
    void MeasureLines(LMeasurementRenderer* renderer);

private:
    [[nodiscard]] RectT<float> Measure(LMeasurementRenderer* renderer,
                                       const WideString& text) const;
    [[nodiscard]] std::int32_t GetLineHeight() const;
    void LayOut(LMeasurementRenderer* renderer, std::int32_t width, WideStringArray& out) const;
    void Invalidate();

    WideString mText;
    RCPtr<LFont> mFont;
    float mHAlign = 0.0f;
    float mVAlign = 0.0f;
    bool mWrap = false;
    std::int32_t mBoxWidth = 0;
    std::int32_t mBoxHeight = 0;
    WideStringArray mLines;
    Array<RectT<float>> mLineBoxes;
};

} // namespace QZ
