// Whole-file reads, atomic replacement and setting a damaged file aside.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace IniSettings
{

class SettingsFileIO
{
public:
    enum class ReadOutcome
    {
        Read,
        Missing,
        Failed
    };

    // Reads the file at the path, at most limit + 1 bytes (so an over-long file is seen to be
    // over-long). Missing when nothing is there; Failed at once for anything but a regular file
    // (a folder, a FIFO, a device) and for an unreadable file.
    [[nodiscard]] static ReadOutcome ReadWholeFile(const std::string& path, std::size_t limit,
                                                   std::string& text);

    // Replaces the file by one holding text, through symbolic links (see QZ::FileSystemRules):
    // writes an unnamed temporary file (or, where the file system has none, "<file>.saving-<pid>-
    // <n>") beside the file finally replaced, syncs it, puts it in place of that file and syncs
    // the folder; a replaced file keeps its permissions. beforeRename, when given, runs once the
    // new file is complete and synced, just before it is put in place. False, with why in reason
    // when given, when any step failed or the file may not be replaced (a dangling link or a
    // loop, not a regular file, not writable); the old file is then untouched and no temporary
    // file is left.
    [[nodiscard]] static bool WriteFileAtomically(const std::string& path, std::string_view text,
                                                  const std::function<void()>& beforeRename = {},
                                                  std::string* reason = nullptr);

    // Renames the file to "<path>.damaged", or "<path>.damaged-<n>" (n from 2) when that is taken;
    // the new path, or none when it could not be renamed.
    [[nodiscard]] static std::optional<std::string> SetFileAside(const std::string& path);
};

} // namespace IniSettings
