// The process's arguments as one command-line text, the form in which the program reads its
// switches and hands its command line to a running instance.
#pragma once

#include <span>
#include <string>

namespace QZ::Shell
{

// The arguments joined by blanks. An argument that is empty or holds a blank, a tab or a double
// quote is put in double quotes, each of its double quotes written as \" and the backslashes
// before a double quote (or before the closing quote) doubled, so the text splits back into the
// same arguments by the usual quoting rules.
[[nodiscard]] std::string JoinCommandLine(std::span<const char* const> arguments);

} // namespace QZ::Shell
