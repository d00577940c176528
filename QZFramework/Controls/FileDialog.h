// The desktop's open and save dialogs for the program: one object per place that asks for files,
// which remembers the folder of its last choice and shows the next dialog there.
//
// The dialogs are modal and run on the user-interface thread. While one is open the program's
// own loop keeps running through the pump set with SetModalLoopPump, so the main window stays
// painted; the pump is expected to keep the main window from taking input meanwhile, and answers
// false to cancel the dialog when the program is asked to end.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <functional>
#include <vector>

namespace QZ
{
namespace Dialogs
{
struct FileChooserRequest;
}

class LFileDialog : public LRefCountedObject
{
public:
    // The folder the first dialog shows ("." is the working folder).
    explicit LFileDialog(const WideString& initialFolder);

    // Filters are "label|patterns" pairs joined by "|" ("Presets (*.tp)|*.tp|All Files|*.*");
    // the default extension ("tp", ".tp" or "*.tp") is added to a name saved without one.
    // 0 when a file was chosen, E_FAIL when the dialog was cancelled or could not be shown (no
    // display); the chosen paths are cleared first either way.
    QZRESULT GetOpenFileName(const WideString& filter, const WideString& defaultExtension,
                             const WideString& title, bool multipleSelection);
    // The same for saving; choosing an existing file asks whether to replace it first.
    QZRESULT GetSaveFileName(const WideString& filter, const WideString& defaultExtension,
                             const WideString& title);

    // The (first) chosen path; empty when the last dialog chose nothing. A path is the UTF-16 form
    // of the file's name on disk (see FileNameToWideString), whatever bytes that name holds.
    void GetFileName(WideString& path) const;
    // Every chosen path, in the dialog's order (more than one only after a multiple selection).
    [[nodiscard]] const std::vector<WideString>& GetFileNames() const { return mFileNames; }

    // One pass of the program's own loop, called while any dialog is open; empty: none. An
    // exception it throws closes the dialog and leaves the Get...FileName call.
    static void SetModalLoopPump(std::function<bool()> pump);

private:
    QZRESULT Run(Dialogs::FileChooserRequest& request, const WideString& filter,
                 const WideString& defaultExtension, const WideString& title, const char* method);

    WideString mFolder;
    std::vector<WideString> mFileNames;
};

} // namespace QZ
