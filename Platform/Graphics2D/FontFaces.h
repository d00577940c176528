// The process-wide store of font faces behind FontFamily and Font: fontconfig finds a family's
// file, FreeType reads its metrics, Cairo draws with it. Not part of the public interface.
//
// A face, once loaded, stays loaded for the life of the process (the set of faces a program
// uses is small); the store is locked, so fonts may be made on any thread.
#pragma once

#include "Platform/Graphics2D/Types.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace QZ::Graphics2D
{

struct FontFaceRecord
{
    std::string family; // the family name as fontconfig gives it
    cairo_font_face_t* cairoFace = nullptr;
    // Design units of the face, read the way GDI reads a TrueType face: the em square, the
    // Windows ascent and descent of the OS/2 table, and the line spacing (ascent + descent + the
    // external leading that the hhea line gap asks for).
    std::uint16_t emHeight = 0;
    std::uint16_t cellAscent = 0;
    std::uint16_t cellDescent = 0;
    std::uint16_t lineSpacing = 0;
};

// The face of a family in a style (bold and italic bits; others are ignored); null when no
// installed scalable face has a family of that name (compared without regard to ASCII case).
[[nodiscard]] const FontFaceRecord* FindFontFace(std::string_view family, std::int32_t style);

// The layer's fallback family: DejaVu Sans, or else whatever fontconfig gives for "sans-serif";
// null only on a machine without any scalable font.
[[nodiscard]] const FontFaceRecord* FindFallbackFontFace(std::int32_t style);

// The text rendering policy of the layer, used for drawing and measuring alike.
[[nodiscard]] const cairo_font_options_t* GetTextFontOptions();

} // namespace QZ::Graphics2D
