// A font family of the 2D graphics layer, found by name through fontconfig.
//
// Text policy of the layer, fixed here once: glyphs are drawn with greyscale antialiasing and
// slight hinting, and advances are not rounded to whole pixels (hint metrics off), so measured
// widths grow in proportion to the size and drawing matches measuring. A family that is not
// installed makes FromName fail, so the caller can tell; a Font made from the resulting empty
// family uses the fallback family, GenericSansSerif: DejaVu Sans (package fonts-dejavu-core), or
// fontconfig's "sans-serif" on a machine without it.
#pragma once

#include "Platform/Graphics2D/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace QZ::Graphics2D
{

struct FontFaceRecord;

class FontFamily
{
public:
    // An empty family; IsValid is false.
    FontFamily() = default;

    // The installed family of that name, compared without regard to ASCII case;
    // FontFamilyNotFound when there is none.
    [[nodiscard]] static Status FromName(std::u16string_view name, FontFamily& out);
    // The layer's fallback family; FontFamilyNotFound only without any scalable font.
    [[nodiscard]] static Status GenericSansSerif(FontFamily& out);

    [[nodiscard]] bool IsValid() const { return mRegular != nullptr; }
    // The family name as installed, in UTF-8.
    [[nodiscard]] std::string GetName() const;

    // Design metrics of the family's face for a style (FontStyle bits); 0 for an empty family.
    [[nodiscard]] std::uint16_t GetEmHeight(std::int32_t style) const;
    [[nodiscard]] std::uint16_t GetCellAscent(std::int32_t style) const;
    [[nodiscard]] std::uint16_t GetCellDescent(std::int32_t style) const;
    [[nodiscard]] std::uint16_t GetLineSpacing(std::int32_t style) const;

    // The face drawn for a style; null for an empty family.
    [[nodiscard]] const FontFaceRecord* GetFace(std::int32_t style) const;

private:
    std::string mRequested;
    bool mGeneric = false;
    const FontFaceRecord* mRegular = nullptr;
};

} // namespace QZ::Graphics2D
