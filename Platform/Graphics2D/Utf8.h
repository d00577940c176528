// UTF-16 to UTF-8 for text handed to fontconfig and Cairo; not part of the public interface.
#pragma once

#include <string>
#include <string_view>

namespace QZ::Graphics2D
{

// A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::u16string_view text);

} // namespace QZ::Graphics2D
