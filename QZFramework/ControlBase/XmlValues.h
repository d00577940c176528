// Reading attribute values of skins and string tables. Every reader returns false for a value it
// refuses, so the caller can warn and keep its default; numbers from outside never come back
// non-finite or beyond the bound the caller gives.
#pragma once

#include "QZFramework/Utilities/Graphics/ColorRGBA.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <string_view>

namespace QZ::XmlValues
{

// The value of an attribute of an Expat attribute list, or null when it is absent.
[[nodiscard]] const char* Find(const char** attributes, std::string_view name);

// A decimal number read the way the skins always were: leading blanks skipped, the longest
// valid prefix taken, 0 when there is none. False for a value that is not finite or whose
// magnitude exceeds bound.
[[nodiscard]] bool ReadNumber(const char* text, double bound, double& value);
// A whole decimal number (or "0x" hexadecimal) within [minimum, maximum], blanks around it allowed.
[[nodiscard]] bool ReadInteger(const char* text, std::int64_t minimum, std::int64_t maximum,
                               std::int64_t& value);
// True for "true" in any letter case, blanks around it allowed.
[[nodiscard]] bool IsTrue(const char* text);
// A colour as hexadecimal text (optional "0x", then 2, 6 or 8 digits; see ColorRGBA::ParseHex).
// False, with the colour unchanged, for any other text.
[[nodiscard]] bool ReadColor(const char* text, ColorRGBA& color);

// The text without the blanks " \t\r\n" at either end.
[[nodiscard]] std::string_view Trim(std::string_view text);
// UTF-8 to the program's UTF-16 strings.
[[nodiscard]] WideString ToWide(std::string_view text);

} // namespace QZ::XmlValues
