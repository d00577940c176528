#include "QZFramework/Renderer/FontRenderer/FontRenderer.h"

#include <algorithm>

namespace QZ
{

LFontRenderer::LFontRenderer(const RCPtr<LGlyphProcessor>& first,
                             const RCPtr<LGlyphProcessor>& second)
    : mFirst(first), mSecond(second)
{
}

RectT<float>& LFontRenderer::MeasureText(RectT<float>& out, const WideString& text,
                                         const ConstRCPtr<LFont>& font)
{
    RenderText(text, font, mSecond, 0, 0.0f, LGlyphProcessor::kFlagsMeasure);
    RectT<float> bounds;
    GetLastBounds(bounds);
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    (void)GetFontMetrics(font, lineHeight, ascent, descent);
    out.x = bounds.x;
    out.y = std::min(bounds.y, static_cast<float>(ascent));
    out.width = bounds.GetRight() + 1.0f - bounds.x;
    out.height = std::max(static_cast<float>(descent), bounds.GetBottom()) - out.y;
    return out;
}

void LFontRenderer::GetLastBounds(RectT<float>& out)
{
    if (mSecond)
    {
        mSecond->GetBounds(out);
    }
    else
    {
        out = {};
    }
}

} // namespace QZ
