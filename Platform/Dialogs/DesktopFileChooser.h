// The desktop's chooser as the program sees it; not part of the public interface (see
// FileChooser.h).
//
// The chooser itself (Gtk3FileChooser) lives in the module libQZGtkFileChooser.so, loaded on the
// first request and kept for the life of the process: the desktop toolkit cannot be unloaded. A
// module that cannot be loaded makes every request Unavailable, and its reason is written once to
// the standard error.
#pragma once

#include "Platform/Dialogs/FileChooser.h"

namespace QZ::Dialogs
{

class DesktopFileChooser : public IFileChooser
{
public:
    // The name the module is loaded by, and the function it hands its chooser out through.
    static constexpr const char* kModuleName = "libQZGtkFileChooser.so";
    static constexpr const char* kEntryPoint = "QZGetGtkFileChooser";
    using EntryPoint = IFileChooser* (*)();

    FileChooserResult Run(const FileChooserRequest& request,
                          std::vector<std::string>& paths) override;

private:
    // The module's chooser, loading the module on the first call; null when it cannot be loaded.
    IFileChooser* LoadChooser();

    bool mLoadTried = false;
    IFileChooser* mChooser = nullptr;
};

} // namespace QZ::Dialogs
