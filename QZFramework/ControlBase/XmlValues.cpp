#include "QZFramework/ControlBase/XmlValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace QZ::XmlValues
{
namespace
{

constexpr std::string_view kBlanks = " \t\r\n";

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

const char* Find(const char** attributes, std::string_view name)
{
    for (const char** pair = attributes; pair != nullptr && pair[0] != nullptr; pair += 2)
    {
        if (name == pair[0])
        {
            return pair[1];
        }
    }
    return nullptr;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
    {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool ReadNumber(const char* text, double bound, double& value)
{
    if (text == nullptr)
    {
        return false;
    }
    std::string_view rest(text);
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(kBlanks)));
    const bool negative = !rest.empty() && rest.front() == '-';
    if (!rest.empty() && (rest.front() == '+' || negative))
    {
        rest.remove_prefix(1);
    }
    double parsed = 0.0;
    const auto [end, error] =
        std::from_chars(rest.data(), rest.data() + rest.size(), parsed, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
    {
        return false;
    }
    if (error != std::errc())
    {
        parsed = 0.0;
    }
    parsed = negative ? -parsed : parsed;
    if (!std::isfinite(parsed) || std::fabs(parsed) > bound)
    {
        return false;
    }
    value = parsed;
    return true;
}

bool ReadInteger(const char* text, std::int64_t minimum, std::int64_t maximum, std::int64_t& value)
{
    if (text == nullptr)
    {
        return false;
    }
    std::string_view digits = Trim(text);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || negative))
    {
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    {
        digits.remove_prefix(2);
        base = 16;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        magnitude > static_cast<std::uint64_t>(INT64_MAX))
    {
        return false;
    }
    const std::int64_t parsed =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (parsed < minimum || parsed > maximum)
    {
        return false;
    }
    value = parsed;
    return true;
}

bool IsTrue(const char* text)
{
    const std::string_view value = text != nullptr ? Trim(text) : std::string_view();
    if (value.size() != 4)
    {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i)
    {
        if ((value[i] | 0x20) != "true"[i])
        {
            return false;
        }
    }
    return true;
}

bool ReadColor(const char* text, ColorRGBA& color)
{
    if (text == nullptr)
    {
        return false;
    }
    std::string_view digits = Trim(text);
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    {
        digits.remove_prefix(2);
    }
    const bool allHex = std::all_of(digits.begin(), digits.end(), IsHexDigit);
    if (!allHex || (digits.size() != 2 && digits.size() != 6 && digits.size() != 8))
    {
        return false;
    }
    color.ParseHex(std::string(digits).c_str());
    return true;
}

WideString ToWide(std::string_view text)
{
    return WideString(std::string(text).c_str());
}

} // namespace QZ::XmlValues
