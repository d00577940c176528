// How the program reads and replaces its files (presets, settings, skins) on a desktop file
// system, on paths as the disk holds them (bytes, see WideStringToFileName).
//
// Reading: a file is read only when it is a regular file once links are followed. The open never
// waits (a FIFO without a writer would block it for ever, a device may too), and what was opened
// is checked before anything is read, so everything else is refused at once.
//
// Replacing: the new content goes into a temporary file beside the file finally replaced, which
// is then renamed over it; the temporary file has no name until it is whole, so a killed save
// leaves no litter. A symbolic link is followed to its target, so the link stays a link
// and its target gets the content; a dangling link or a loop is refused, since nothing named
// would receive the content. A file the user may not write is refused although the folder's
// permission alone would let the rename replace it, and a replaced file keeps its mode.
//
// Every function is safe to call from any thread; none throws.
#pragma once

#include <string>

#include <sys/types.h>

namespace QZ
{

class FileSystemRules
{
public:
    enum class OpenOutcome
    {
        Opened,
        Missing,
        NotRegular,
        Failed
    };

    // Opens the regular file at path with the open(2) flags (O_CLOEXEC and O_NOCTTY added; with
    // O_CREAT a missing file is created with mode less the umask) into descriptor, which is -1
    // unless Opened. Missing when nothing is there and O_CREAT was not given.
    [[nodiscard]] static OpenOutcome OpenRegularFile(const char* path, int flags, int& descriptor,
                                                     mode_t mode = 0666);

    // The file that replacing path replaces: path itself when nothing is there yet, else the end
    // of its links. False when path names a folder, a link dangles or loops, or the file found is
    // not a regular file or may not be written by this process.
    [[nodiscard]] static bool FindFileToReplace(const std::string& path, std::string& target);

    // Creates the file for target's new content in target's folder, with target's permission
    // bits when target exists: an unnamed file (O_TMPFILE) where the file system allows it, so
    // that a save killed before PutInPlace leaves nothing behind; else the named file
    // "<target>.saving-<pid>-<n>". temporary is the name, empty for an unnamed file. The
    // descriptor, or -1 (errno set) when neither could be made.
    [[nodiscard]] static int CreateTemporaryBeside(const std::string& target,
                                                   std::string& temporary);

    // Makes the complete (synced) file of CreateTemporaryBeside target's content: an unnamed
    // file is linked under a temporary name first, which is then renamed over target; then
    // temporary files of target left behind by processes that are gone are removed. False (errno
    // set) with target untouched and no name left behind; the descriptor stays the caller's to
    // close, and temporary is empty afterwards either way.
    [[nodiscard]] static bool PutInPlace(int descriptor, std::string& temporary,
                                         const std::string& target);

    // Why path can be neither read nor replaced, for a message: a folder, FIFO or device in its
    // place, a link that leads nowhere, no permission; the text of errorNumber when none of these
    // is seen.
    [[nodiscard]] static std::string DescribeRefusal(const std::string& path, int errorNumber);

    // Syncs the folder holding path, which makes a rename in it durable. A folder that cannot be
    // synced leaves the renamed file in place all the same, so there is no result.
    static void SyncFolderOf(const std::string& path);
};

} // namespace QZ
