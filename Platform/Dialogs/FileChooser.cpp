#include "Platform/Dialogs/FileChooser.h"

#include "Platform/Dialogs/DesktopFileChooser.h"

namespace QZ::Dialogs
{
namespace
{

DesktopFileChooser gDesktopChooser;
IFileChooser* gChooser = &gDesktopChooser;

} // namespace

FileChooserResult RunFileChooser(const FileChooserRequest& request, std::vector<std::string>& paths)
{
    paths.clear();
    auto result = gChooser->Run(request, paths);
    if (result == FileChooserResult::Chosen && paths.empty())
    {
        result = FileChooserResult::Cancelled;
    }
    if (result != FileChooserResult::Chosen)
    {
        paths.clear();
    }
    return result;
}

void SetFileChooser(IFileChooser* chooser)
{
    gChooser = chooser != nullptr ? chooser : &gDesktopChooser;
}

} // namespace QZ::Dialogs
