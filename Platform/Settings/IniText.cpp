#include "Platform/Settings/IniText.h"

#include <charconv>

namespace IniSettings
{
namespace
{

constexpr std::int32_t kMaxItemIndex = 2147483646;

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

// Length of the UTF-8 sequence starting at text[0], or 0 when it is ill-formed (overlong forms,
// surrogates and code points past U+10FFFF included).
std::size_t SequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
    {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || text.size() < length || byte(1) < low || byte(1) > high)
    {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i)
    {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
        {
            return 0;
        }
    }
    return length;
}

} // namespace

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back()))
    {
        text.remove_suffix(1);
    }
    return text;
}

bool IsValidName(std::string_view name)
{
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back()) || name.front() == ';' ||
        name.front() == '#')
    {
        return false;
    }
    for (const char c : name)
    {
        if (IsControl(static_cast<unsigned char>(c)) || c == '=' || c == '[' || c == ']' ||
            c == '/')
        {
            return false;
        }
    }
    return IsValidUtf8(name);
}

bool IsValidNodePath(std::string_view path)
{
    while (!path.empty())
    {
        const std::size_t slash = path.find('/');
        if (!IsValidName(path.substr(0, slash)))
        {
            return false;
        }
        if (slash == std::string_view::npos)
        {
            return true;
        }
        path.remove_prefix(slash + 1);
        if (path.empty())
        {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(std::string_view text)
{
    while (!text.empty())
    {
        const std::size_t length = SequenceLength(text);
        if (length == 0)
        {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

std::optional<std::int32_t> ParseItemIndex(std::string_view key)
{
    if (key.empty() || (key.size() > 1 && key.front() == '0') || key.front() == '+' ||
        key.front() == '-')
    {
        return std::nullopt;
    }
    const std::optional<std::int32_t> value = ParseInt32(key);
    if (!value || *value > kMaxItemIndex)
    {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
    {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
        {
            return std::nullopt;
        }
    }
    if (text.empty())
    {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
    {
        return std::nullopt;
    }
    return value;
}

} // namespace IniSettings
