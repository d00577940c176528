// PNG decoding and encoding for Image, on libpng's simplified interface.
//
// Decoding yields straight 32-bit ARGB, the form the program's bitmaps keep; Cairo's own PNG
// reader premultiplies while it decodes, which would lose the straight colour of translucent
// pixels, and it gives no chance to refuse absurd dimensions before it allocates.
#pragma once

#include "Platform/Graphics2D/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace QZ::Graphics2D
{

struct DecodedPng
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<std::uint32_t[]> pixels; // width * height straight ARGB words, rows top down
};

// UnknownImageFormat for bytes that are not a PNG, InvalidParameter for a PNG that is damaged,
// truncated or larger than Image allows, OutOfMemory when the pixels cannot be allocated.
[[nodiscard]] Status DecodePng(const std::uint8_t* bytes, std::size_t size, DecodedPng& out);

// Encodes width * height straight ARGB words (rows stride words apart) as an RGBA PNG.
[[nodiscard]] Status EncodePng(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                               std::int32_t strideWords, std::vector<std::uint8_t>& out);

} // namespace QZ::Graphics2D
