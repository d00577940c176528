#include "Platform/Dialogs/FileFilter.h"

namespace QZ::Dialogs
{
namespace
{

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
    {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;)
    {
        const auto end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
        {
            return pieces;
        }
        start = end + 1;
    }
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view text)
{
    std::vector<FileFilter> filters;
    const auto pieces = SplitAt(text, '|');
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2)
    {
        FileFilter filter;
        for (const auto pattern : SplitAt(pieces[i + 1], ';'))
        {
            if (!Trim(pattern).empty())
            {
                filter.patterns.emplace_back(Trim(pattern));
            }
        }
        if (filter.patterns.empty())
        {
            continue;
        }
        const auto label = Trim(pieces[i]);
        filter.label = label.empty() ? Trim(pieces[i + 1]) : label;
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::string ToDesktopPattern(std::string_view pattern)
{
    if (pattern == "*.*")
    {
        return "*";
    }
    std::string result;
    for (const char c : pattern)
    {
        if (IsAsciiLetter(c))
        {
            const char lower = static_cast<char>(c | 0x20);
            result += {'[', lower, static_cast<char>(lower - 0x20), ']'};
        }
        else if (c == '[')
        {
            result += "[[]";
        }
        else
        {
            result += c;
        }
    }
    return result;
}

std::string NormalizeDefaultExtension(std::string_view text)
{
    text = Trim(text);
    if (text.starts_with("*."))
    {
        text.remove_prefix(2);
    }
    else if (text.starts_with('.'))
    {
        text.remove_prefix(1);
    }
    if (text.find_first_of("*?") != std::string_view::npos)
    {
        return {};
    }
    return std::string(text);
}

std::string WithDefaultExtension(const std::string& path, std::string_view extension)
{
    const auto slash = path.rfind('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.find('.', nameStart + 1);
    if (extension.empty() || nameStart >= path.size() || dot != std::string::npos)
    {
        return path;
    }
    return path + "." + std::string(extension);
}

} // namespace QZ::Dialogs
