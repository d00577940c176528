// Reads one entry of the XDG user-dirs file (user-dirs.dirs), the file the desktop writes to
// name the user's documents, music and other folders:
//
//     # comment
//     XDG_DOCUMENTS_DIR="$HOME/Documents"
//
// A value is either "$HOME" followed by an optional "/path", or an absolute path; a backslash
// takes the next character as it stands. Any other line, or a value of another form, is skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace QZ::Shell
{

// The absolute folder that the file's last valid line for key names, with "$HOME" replaced by
// home; nothing when there is none (or home is empty and the value needs it).
[[nodiscard]] std::optional<std::string> FindUserDir(std::string_view fileText,
                                                     std::string_view key, std::string_view home);

} // namespace QZ::Shell
