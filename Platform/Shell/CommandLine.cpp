#include "Platform/Shell/CommandLine.h"

#include <string_view>

namespace QZ::Shell
{
namespace
{

void AppendQuoted(std::string& line, std::string_view argument)
{
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument)
    {
        if (c == '\\')
        {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled so they stay backslashes.
        line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

std::string JoinCommandLine(std::span<const char* const> arguments)
{
    std::string line;
    for (const char* argument : arguments)
    {
        const std::string_view text = argument != nullptr ? argument : "";
        if (!line.empty())
        {
            line += ' ';
        }
        if (text.empty() || text.find_first_of(" \t\"") != std::string_view::npos)
        {
            AppendQuoted(line, text);
        }
        else
        {
            line += text;
        }
    }
    return line;
}

} // namespace QZ::Shell
