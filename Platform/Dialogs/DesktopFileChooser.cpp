#include "Platform/Dialogs/DesktopFileChooser.h"

#include "Platform/DynamicLibrary/DynamicLibrary.h"

#include <iostream>

namespace QZ::Dialogs
{

FileChooserResult DesktopFileChooser::Run(const FileChooserRequest& request,
                                          std::vector<std::string>& paths)
{
    IFileChooser* chooser = LoadChooser();
    return chooser != nullptr ? chooser->Run(request, paths) : FileChooserResult::Unavailable;
}

IFileChooser* DesktopFileChooser::LoadChooser()
{
    if (mLoadTried)
    {
        return mChooser;
    }
    mLoadTried = true;
    // Never closed: the toolkit leaves handlers and threads behind that must outlive the program.
    static auto* const module = new Platform::DynamicLibrary();
    const auto entry =
        module->Open(kModuleName) ? module->FindFunction<EntryPoint>(kEntryPoint) : nullptr;
    mChooser = entry != nullptr ? entry() : nullptr;
    if (mChooser == nullptr)
    {
        std::cerr << "The desktop's file dialog cannot be shown: " << module->GetError()
                  << std::endl;
    }
    return mChooser;
}

} // namespace QZ::Dialogs
