// The window layer's text to and from what SDL takes: UTF-16 and UTF-8; not part of the public
// interface. Ill-formed text keeps its well-formed beginning.
#pragma once

#include <string>
#include <string_view>

namespace Platform
{

[[nodiscard]] std::string ToUtf8(std::u16string_view text);
[[nodiscard]] std::u16string ToUtf16(const char* text);

} // namespace Platform
