#include "Platform/Graphics2D/Font.h"

#include "Platform/Graphics2D/FontFaces.h"

#include <cmath>

namespace QZ::Graphics2D
{

Font::Font(const FontFamily& family, float emSize, std::int32_t style, Unit unit)
    : mSize(emSize), mStyle(style), mUnit(unit)
{
    if (!std::isfinite(emSize) || emSize <= 0 || (unit != Unit::Point && unit != Unit::Pixel))
    {
        mStatus = Status::InvalidParameter;
        return;
    }
    mFace = family.IsValid() ? family.GetFace(style) : FindFallbackFontFace(style);
    if (mFace == nullptr)
    {
        mStatus = Status::FontFamilyNotFound;
    }
}

float Font::GetPixelSize(float dpi) const
{
    if (mFace == nullptr)
    {
        return 0;
    }
    return mUnit == Unit::Pixel ? mSize : mSize * dpi / 72.0f;
}

float Font::GetHeight(float dpi) const
{
    if (mFace == nullptr)
    {
        return 0;
    }
    return static_cast<float>(mFace->lineSpacing) * GetPixelSize(dpi) /
           static_cast<float>(mFace->emHeight);
}

} // namespace QZ::Graphics2D
