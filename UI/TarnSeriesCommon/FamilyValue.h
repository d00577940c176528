// The value of a family's element, as the engine keeps it, and the byte layouts its editor and its
// tile take. Most families hand the bytes on unchanged; a few keep fewer bytes than their shared
// editor shows (the wheels drop the editor's relative flag, the sustain pedal four of the button
// editor's operands), so each side of a family names, byte by byte, where its bytes come from.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace QZ
{

// One byte of a rearranged value: the source byte at an index, or a fixed byte the source lacks.
struct BytePick
{
    std::int32_t source;
    std::uint8_t fixed;
};

[[nodiscard]] constexpr BytePick Take(std::int32_t index)
{
    return BytePick{index, 0};
}
[[nodiscard]] constexpr BytePick Fixed(std::uint8_t value)
{
    return BytePick{-1, value};
}

using ByteMap = std::vector<BytePick>;

// Byte k of the result is byte k of the source, for `count` bytes.
[[nodiscard]] ByteMap SameBytes(std::uint32_t count);
// The picked bytes; nothing when a pick lies beyond the source.
[[nodiscard]] std::optional<Array<signed char>> Rearrange(const Array<signed char>& source,
                                                          const ByteMap& map);

// How an element's value travels: its size at the engine, the editor's and the tile's bytes made
// from it, and the value made back from the editor's bytes, which must number editorSize.
struct ValueConversion
{
    std::uint32_t valueSize;
    ByteMap toEditor;
    ByteMap toView;
    std::uint32_t editorSize;
    ByteMap fromEditor;
};

// A value the editor and the tile take as it is.
[[nodiscard]] ValueConversion UnchangedValue(std::uint32_t size);

// The value's bytes when it is a byte string of exactly `size` bytes.
[[nodiscard]] std::optional<Array<signed char>> ValueBytes(const Variant& value,
                                                           std::uint32_t size);
// A byte string of the bytes, the form every parameter value takes.
[[nodiscard]] Variant MakeValue(const Array<signed char>& bytes);

} // namespace QZ
