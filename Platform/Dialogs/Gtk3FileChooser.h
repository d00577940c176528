// The desktop's chooser through GTK 3, the one thing of the module libQZGtkFileChooser.so; not part
// of the public interface (see FileChooser.h and DesktopFileChooser.h).
//
// GTK starts on the first request, on the calling thread, which must stay the only one that
// runs dialogs. It is told to leave the process's locale alone: number formatting and parsing
// elsewhere in the program must not change because a dialog was once shown. An X error about a
// dialog (GTK still drawing into a window that another program has just destroyed) is reported on
// stderr rather than ending the program, as GDK would.
#pragma once

#include "Platform/Dialogs/FileChooser.h"

namespace QZ::Dialogs
{

class Gtk3FileChooser : public IFileChooser
{
public:
    FileChooserResult Run(const FileChooserRequest& request,
                          std::vector<std::string>& paths) override;
};

} // namespace QZ::Dialogs
