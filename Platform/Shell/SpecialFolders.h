// The user's folders, by the XDG base-directory rules, as the program's folder identifiers ask
// for them: the application data that one user's desktop shares ($XDG_DATA_HOME), the user's
// local application data ($XDG_CONFIG_HOME), the documents folder (XDG_DOCUMENTS_DIR of
// user-dirs.dirs) and the program's own folder.
//
// Every path given out is absolute: a variable that holds a relative path is ignored, as the
// XDG rules say. Each special folder comes as a list of candidates in order of preference whose
// last entry is the per-user fallback folder, so the caller can move on when one cannot be
// created.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace QZ::Shell
{

enum class SpecialFolder
{
    SharedApplicationData,
    LocalApplicationData,
    Documents,
};

// Absolute folders, most preferred first, ending with GetFallbackFolder(); never empty.
[[nodiscard]] std::vector<std::string> GetSpecialFolderCandidates(SpecialFolder folder);

// The folder used when nothing better can be made: "qz-user-<uid>" in $TMPDIR (when absolute)
// or /tmp.
[[nodiscard]] std::string GetFallbackFolder();

// The user's home: $HOME when absolute, else the password database's entry; empty when neither.
[[nodiscard]] std::string GetHomeFolder();

// The program's own file (/proc/self/exe); nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> GetProgramPath();

} // namespace QZ::Shell
