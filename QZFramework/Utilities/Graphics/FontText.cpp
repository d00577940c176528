#include "QZFramework/Utilities/Graphics/FontText.h"

#include "QZFramework/Application/ApplicationBase.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

constexpr const char16_t* kLineFeed = u"\n";
constexpr float kTextSizeLimit = 8388608.0f;

RCPtr<LRenderer> ApplicationRenderer()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetRenderer() : nullptr;
}

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

// The text without its leading blanks, or the text itself when it holds nothing else.
WideString WithoutLeadingBlanks(const WideString& text)
{
    const char16_t* units = text.GetString();
    std::int32_t start = 0;
    while (units[start] != 0 && IsBlank(units[start]))
    {
        ++start;
    }
    return units[start] == 0 ? text : text.Mid(start);
}

// Truncation towards zero, kept within the 32-bit range; not-a-number gives 0.
std::int32_t TruncateToInt32(float value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    constexpr float kLargest = 2147483520.0f; // the largest float below 2^31
    return static_cast<std::int32_t>(std::clamp(value, -kLargest, kLargest));
}

} // namespace

void LFontText::Invalidate()
{
    mLines.RemoveAll();
    mLineBoxes.RemoveAll();
}

void LFontText::SetText(const WideString& text)
{
    mText = text;
    Invalidate();
}

void LFontText::SetFont(const RCPtr<LFont>& font)
{
    mFont = font;
    Invalidate();
}

void LFontText::SetAlignment(float hAlign, float vAlign)
{
    mHAlign = hAlign;
    mVAlign = vAlign;
    Invalidate();
}

void LFontText::SetWrap(bool wrap)
{
    mWrap = wrap;
    Invalidate();
}

void LFontText::SetBoxSize(std::int32_t width, std::int32_t height)
{
    mBoxWidth = width;
    mBoxHeight = height;
    Invalidate();
}

RectT<float> LFontText::Measure(LMeasurementRenderer* renderer, const WideString& text) const
{
    if (renderer == nullptr || !mFont)
    {
        return {};
    }
    RectT<float> box = renderer->MeasureText(text, mFont);
    if (box.x != 0.0f)
    {
        box.width += box.x;
        box.x = 0.0f;
    }
    return box;
}

std::int32_t LFontText::GetLineHeight() const
{
    return mFont ? std::max(mFont->ComputeMetrics(), 0) : 0;
}

void LFontText::LayOut(LMeasurementRenderer* renderer, std::int32_t width,
                       WideStringArray& out) const
{
    if (mWrap)
    {
        WrapText(renderer, width, out);
    }
    else
    {
        out = mText.Split(kLineFeed);
    }
}

std::uint32_t LFontText::GetLineCount()
{
    RCPtr<LRenderer> renderer = ApplicationRenderer();
    if (mLines.GetCount() == 0)
    {
        LayOut(renderer.Get(), mBoxWidth, mLines);
    }
    if (mLineBoxes.GetCount() == 0)
    {
        MeasureLines(renderer.Get());
    }
    return static_cast<std::uint32_t>(mLineBoxes.GetCount());
}

std::uint32_t LFontText::GetHeightForWidth(std::int32_t width) const
{
    WideStringArray lines;
    LayOut(ApplicationRenderer().Get(), width, lines);
    return static_cast<std::uint32_t>(GetLineHeight()) *
           static_cast<std::uint32_t>(lines.GetCount());
}

std::int32_t LFontText::GetNaturalWidth() const
{
    RCPtr<LRenderer> renderer = ApplicationRenderer();
    const WideStringArray pieces = mText.Split(kLineFeed);
    float widest = 0.0f;
    for (std::int32_t i = 0; i < pieces.GetCount(); ++i)
    {
        widest = std::max(widest, Measure(renderer.Get(), pieces.GetAt(i)).width);
    }
    return TruncateToInt32(widest + 0.99f);
}

PointT<std::int32_t> LFontText::GetTextSize()
{
    GetLineCount();
    RectT<float> bounds;
    for (std::int32_t i = 0; i < mLineBoxes.GetCount(); ++i)
    {
        (void)RectT<float>::Union(bounds, bounds, mLineBoxes.GetAt(i));
    }
    const auto limit = [](float value)
    { return RoundToInt32(std::clamp(value, -kTextSizeLimit, kTextSizeLimit)); };
    return {limit(bounds.width), limit(bounds.height)};
}

std::int32_t LFontText::FindLineBreak(LMeasurementRenderer* renderer, std::int32_t maxWidth,
                                      const WideString& text) const
{
    const auto width = static_cast<float>(maxWidth);
    if (Measure(renderer, text).width < width)
    {
        return text.GetLength();
    }
    const auto fits = [&](const WideString& candidate, std::int32_t length)
    { return Measure(renderer, candidate.Mid(0, length)).width <= width; };
    WideString candidate = text;
    std::int32_t result = 0;
    for (;;)
    {
        const std::int32_t space = candidate.ReverseFind(u' ');
        if (space >= 1)
        {
            if (fits(candidate, space))
            {
                const std::int32_t hyphen = candidate.ReverseFind(u'-') + 1;
                result = (hyphen > space && fits(candidate, hyphen)) ? hyphen : space;
                break;
            }
            candidate = candidate.Mid(0, space);
            continue;
        }
        const std::int32_t hyphen =
            candidate.Mid(0, candidate.GetLength() - 1).ReverseFind(u'-') + 1;
        if (hyphen == 0)
        {
            result = candidate.GetLength();
            break;
        }
        if (fits(candidate, hyphen))
        {
            result = hyphen;
            break;
        }
        candidate = candidate.Mid(0, hyphen);
    }
    return result < 1 ? candidate.GetLength() : result;
}

void LFontText::WrapText(LMeasurementRenderer* renderer, std::int32_t maxWidth,
                         WideStringArray& out) const
{
    out.RemoveAll();
    const WideStringArray paragraphs = mText.Split(kLineFeed);
    for (std::int32_t p = 0; p < paragraphs.GetCount(); ++p)
    {
        const WideString& paragraph = paragraphs.GetAt(p);
        const std::int32_t length = paragraph.GetLength();
        std::int32_t lineBreak = FindLineBreak(renderer, maxWidth, paragraph);
        WideString current = paragraph;
        WideString line = paragraph.Mid(0, lineBreak);
        std::int32_t consumed = lineBreak;
        while (consumed < length)
        {
            const WideString remainder = WithoutLeadingBlanks(current.Mid(lineBreak));
            if (remainder.IsEmpty())
            {
                break;
            }
            out.Add(line);
            lineBreak = FindLineBreak(renderer, maxWidth, remainder);
            line = remainder.Mid(0, lineBreak);
            current = remainder;
            consumed = (length - remainder.GetLength()) + lineBreak;
        }
        out.Add(line);
    }
}

void LFontText::MeasureLines(LMeasurementRenderer* renderer)
{
    mLineBoxes.RemoveAll();
    if (mLines.GetCount() == 0)
    {
        mLines.Add(WideString());
    }
    const auto lineHeight = static_cast<float>(GetLineHeight());
    const float total = lineHeight * static_cast<float>(mLines.GetCount());
    const float top = (static_cast<float>(mBoxHeight) - total) * mVAlign;
    for (std::int32_t i = 0; i < mLines.GetCount(); ++i)
    {
        RectT<float> box = Measure(renderer, mLines.GetAt(i));
        box.x = (static_cast<float>(mBoxWidth) - box.width) * mHAlign;
        box.y = lineHeight * static_cast<float>(i) + top;
        mLineBoxes.Add(box);
    }
}

} // namespace QZ
