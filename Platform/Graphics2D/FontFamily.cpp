#include "Platform/Graphics2D/FontFamily.h"

#include "Platform/Graphics2D/FontFaces.h"
#include "Platform/Graphics2D/Utf8.h"

namespace QZ::Graphics2D
{

Status FontFamily::FromName(std::u16string_view name, FontFamily& out)
{
    out = FontFamily();
    const std::string utf8 = ToUtf8(name);
    const FontFaceRecord* regular = FindFontFace(utf8, FontStyleRegular);
    if (regular == nullptr)
    {
        return Status::FontFamilyNotFound;
    }
    out.mRequested = utf8;
    out.mRegular = regular;
    return Status::Ok;
}

Status FontFamily::GenericSansSerif(FontFamily& out)
{
    out = FontFamily();
    const FontFaceRecord* regular = FindFallbackFontFace(FontStyleRegular);
    if (regular == nullptr)
    {
        return Status::FontFamilyNotFound;
    }
    out.mGeneric = true;
    out.mRegular = regular;
    return Status::Ok;
}

std::string FontFamily::GetName() const
{
    return mRegular != nullptr ? mRegular->family : std::string();
}

const FontFaceRecord* FontFamily::GetFace(std::int32_t style) const
{
    if (mRegular == nullptr)
    {
        return nullptr;
    }
    const FontFaceRecord* face =
        mGeneric ? FindFallbackFontFace(style) : FindFontFace(mRequested, style);
    return face != nullptr ? face : mRegular;
}

std::uint16_t FontFamily::GetEmHeight(std::int32_t style) const
{
    const FontFaceRecord* face = GetFace(style);
    return face != nullptr ? face->emHeight : 0;
}

std::uint16_t FontFamily::GetCellAscent(std::int32_t style) const
{
    const FontFaceRecord* face = GetFace(style);
    return face != nullptr ? face->cellAscent : 0;
}

std::uint16_t FontFamily::GetCellDescent(std::int32_t style) const
{
    const FontFaceRecord* face = GetFace(style);
    return face != nullptr ? face->cellDescent : 0;
}

std::uint16_t FontFamily::GetLineSpacing(std::int32_t style) const
{
    const FontFaceRecord* face = GetFace(style);
    return face != nullptr ? face->lineSpacing : 0;
}

} // namespace QZ::Graphics2D
