#include "QZFramework/Controls/FileDialog.h"

#include "Platform/Dialogs/FileChooser.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/System/DebugStreams.h"

namespace QZ
{
namespace
{

std::function<bool()>& ModalLoopPump()
{
    static std::function<bool()> pump;
    return pump;
}

std::string ToUtf8(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// The window the dialog blocks: the active one, else the main window.
std::uint64_t OwnerWindow(const LApplicationBase& application)
{
    const RCPtr<LRootWindow> active = application.GetActiveRootWindow();
    const OSWindow* owner = active ? dynamic_cast<OSWindow*>(active->GetOSServices()) : nullptr;
    if (owner == nullptr)
    {
        owner = application.GetMainWindow();
    }
    return owner != nullptr ? owner->GetNativeWindow() : 0;
}

} // namespace

LFileDialog::LFileDialog(const WideString& initialFolder) : mFolder(initialFolder) {}

QZRESULT LFileDialog::GetOpenFileName(const WideString& filter, const WideString& defaultExtension,
                                      const WideString& title, bool multipleSelection)
{
    Dialogs::FileChooserRequest request;
    request.mode = Dialogs::FileChooserMode::Open;
    request.multiple = multipleSelection;
    return Run(request, filter, defaultExtension, title, "LFileDialog::GetOpenFileName");
}

QZRESULT LFileDialog::GetSaveFileName(const WideString& filter, const WideString& defaultExtension,
                                      const WideString& title)
{
    Dialogs::FileChooserRequest request;
    request.mode = Dialogs::FileChooserMode::Save;
    return Run(request, filter, defaultExtension, title, "LFileDialog::GetSaveFileName");
}

void LFileDialog::GetFileName(WideString& path) const
{
    path = mFileNames.empty() ? WideString() : mFileNames.front();
}

void LFileDialog::SetModalLoopPump(std::function<bool()> pump)
{
    ModalLoopPump() = std::move(pump);
}

QZRESULT LFileDialog::Run(Dialogs::FileChooserRequest& request, const WideString& filter,
                          const WideString& defaultExtension, const WideString& title,
                          const char* method)
{
    mFileNames.clear();
    request.title = ToUtf8(title);
    request.filters = Dialogs::ParseFileFilter(ToUtf8(filter));
    request.defaultExtension = ToUtf8(defaultExtension);
    request.pump = ModalLoopPump();
    if (const LApplicationBase* application = LApplicationBase::GetApplication())
    {
        request.icon = application->GetAppIcon();
        request.owner = OwnerWindow(*application);
    }
    NarrowString folder;
    // A folder that no file name stands for leaves the dialog in the working folder.
    if (WideStringToFileName(mFolder, folder))
    {
        request.folder = folder.GetString();
    }

    std::vector<std::string> paths;
    const auto result = Dialogs::RunFileChooser(request, paths);
    if (result == Dialogs::FileChooserResult::Unavailable)
    {
        DebugStreams::Narrow() << method << ": no file dialog can be shown (no display)"
                               << std::endl;
    }
    if (result != Dialogs::FileChooserResult::Chosen)
    {
        return E_FAIL;
    }
    for (const auto& path : paths)
    {
        mFileNames.push_back(FileNameToWideString(path.c_str()));
    }
    const auto slash = mFileNames.front().ReverseFind(u'/');
    if (slash >= 0)
    {
        mFolder = slash > 0 ? mFileNames.front().Mid(0, slash) : WideString(u"/");
    }
    return S_OK;
}

} // namespace QZ
