#include "Platform/Shell/PrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace QZ::Shell
{

bool IsPrivateFolder(const std::string& path)
{
    struct stat status;
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 0077) == 0;
}

bool MakePrivateFolder(const std::string& path)
{
    // The result does not matter: what counts is what is there afterwards, whoever made it.
    static_cast<void>(::mkdir(path.c_str(), 0700));
    return IsPrivateFolder(path);
}

} // namespace QZ::Shell
