// Folders in a place other users can write to (the temporary folder, a runtime folder named by
// the environment) are trusted only when they are this user's own and closed to everyone else:
// otherwise another user could have made the folder first and put links or sockets in it.
#pragma once

#include <string>

namespace QZ::Shell
{

// True when path is a folder itself (not a link to one), owned by this user, with no permission
// for the group or others.
[[nodiscard]] bool IsPrivateFolder(const std::string& path);

// Creates path with mode 0700 when nothing is there; true when the folder then found is private
// (IsPrivateFolder). A folder that is not is left as it is and refused.
[[nodiscard]] bool MakePrivateFolder(const std::string& path);

} // namespace QZ::Shell
