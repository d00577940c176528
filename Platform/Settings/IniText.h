// The text rules of the settings file: names, node paths, UTF-8, item numbers and integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace IniSettings
{

// A key or section-path element (see IniFileManagerLibrary.h, "Node paths").
[[nodiscard]] bool IsValidName(std::string_view name);
// Names joined by "/"; the empty path is the top level.
[[nodiscard]] bool IsValidNodePath(std::string_view path);
[[nodiscard]] bool IsValidUtf8(std::string_view text);
// The item number a key stands for: canonical decimal 0..2147483646, else none.
[[nodiscard]] std::optional<std::int32_t> ParseItemIndex(std::string_view key);
// A whole text that is an optional sign and decimal digits within 32 bits, else none.
[[nodiscard]] std::optional<std::int32_t> ParseInt32(std::string_view text);
[[nodiscard]] bool IsBlank(char c);
[[nodiscard]] std::string_view TrimBlanks(std::string_view text);

} // namespace IniSettings
