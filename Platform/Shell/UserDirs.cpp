#include "Platform/Shell/UserDirs.h"

namespace QZ::Shell
{
namespace
{

constexpr std::string_view kHomeVariable = "$HOME";

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
    {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The text between the quotes with its escapes resolved; nothing when the quotes do not close
// the value.
std::optional<std::string> Unquote(std::string_view value)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
    {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < value.size(); ++i)
    {
        if (value[i] == '\\' && i + 2 < value.size())
        {
            ++i;
        }
        else if (value[i] == '"')
        {
            return std::nullopt;
        }
        text += value[i];
    }
    return text;
}

std::optional<std::string> ResolveValue(const std::string& value, std::string_view home)
{
    if (value.starts_with('/'))
    {
        return value;
    }
    if (!value.starts_with(kHomeVariable) || home.empty())
    {
        return std::nullopt;
    }
    const std::string_view rest = std::string_view(value).substr(kHomeVariable.size());
    if (!rest.empty() && rest[0] != '/')
    {
        return std::nullopt;
    }
    return std::string(home) + std::string(rest);
}

} // namespace

std::optional<std::string> FindUserDir(std::string_view fileText, std::string_view key,
                                       std::string_view home)
{
    std::optional<std::string> found;
    while (!fileText.empty())
    {
        const std::size_t end = fileText.find('\n');
        const std::string_view line = Trim(fileText.substr(0, end));
        fileText = end == std::string_view::npos ? std::string_view() : fileText.substr(end + 1);

        const std::size_t equals = line.find('=');
        if (line.starts_with('#') || equals == std::string_view::npos ||
            Trim(line.substr(0, equals)) != key)
        {
            continue;
        }
        const std::optional<std::string> value = Unquote(Trim(line.substr(equals + 1)));
        if (value)
        {
            if (std::optional<std::string> folder = ResolveValue(*value, home))
            {
                found = std::move(folder);
            }
        }
    }
    return found;
}

} // namespace QZ::Shell
