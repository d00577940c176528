// The desktop's open and save dialogs, modal, on the user-interface thread.
//
// The chooser runs the desktop toolkit's own loop until it is answered. So that the program's
// windows keep painting meanwhile, the caller may pass a pump: a function that runs one pass of
// the program's own loop without blocking (paint what is due, drop input to the disabled main
// window). It is called on the same thread at least every kPumpIntervalMs while a dialog is open;
// false from it cancels the dialog (the program is asked to end), and an exception it throws
// closes the dialog and leaves RunFileChooser.
//
// File names are bytes as the disk holds them (not always UTF-8); titles and filter labels are
// UTF-8. Tests install a chooser of their own in place of the desktop's (SetFileChooser).
#pragma once

#include "Platform/Dialogs/FileFilter.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace QZ::Dialogs
{

inline constexpr std::int32_t kPumpIntervalMs = 15;

enum class FileChooserMode
{
    Open,
    Save
};

struct FileChooserRequest
{
    FileChooserMode mode = FileChooserMode::Open;
    std::string title;
    // The folder shown first; empty: the working folder.
    std::string folder;
    std::vector<FileFilter> filters;
    // Added to a saved name that has no extension (see WithDefaultExtension); empty: none.
    std::string defaultExtension;
    // Open only: more than one file may be chosen.
    bool multiple = false;
    std::function<bool()> pump;
    // The program's icon for the dialog's window: PNGs of its sizes; empty: the toolkit's own.
    std::vector<std::span<const std::uint8_t>> icon;
    // The desktop's handle of the program's window that the dialog blocks (an X11 window id; 0:
    // none): the dialog stays in front of it, and comes back in front with the keyboard when
    // that window is reached for. Without a window manager, the dialog takes the keyboard when
    // it shows and hands it back to that window when it ends.
    std::uint64_t owner = 0;
};

enum class FileChooserResult
{
    Chosen,
    // Also a dialog that ended without an answer (its window destroyed by another program).
    Cancelled,
    // No dialog could be shown: no display, or the toolkit would not start.
    Unavailable
};

class IFileChooser
{
public:
    virtual ~IFileChooser() = default;
    // Shows the dialog and waits for its answer; the chosen paths (at least one) when Chosen.
    // A save dialog has confirmed the overwriting of an existing file before answering.
    virtual FileChooserResult Run(const FileChooserRequest& request,
                                  std::vector<std::string>& paths) = 0;
};

// Runs the request on the current chooser (the desktop's unless a test set one). The paths are
// those chosen, and empty for any other result; a choice of no path counts as Cancelled.
[[nodiscard]] FileChooserResult RunFileChooser(const FileChooserRequest& request,
                                               std::vector<std::string>& paths);

// Replaces the desktop's chooser (null restores it); the caller keeps it alive while it is set.
void SetFileChooser(IFileChooser* chooser);

} // namespace QZ::Dialogs
