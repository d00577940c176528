#include "QZFramework/Application/ApplicationFolders.h"

#include "Platform/Shell/PrivateFolder.h"
#include "Platform/Shell/SpecialFolders.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Storage/QZFile.h"

#include <cerrno>
#include <optional>

#include <sys/stat.h>

namespace QZ
{
namespace
{

// The base folder with the levels below it, each created when missing.
std::optional<WideString> MakeFolder(const std::string& base,
                                     std::initializer_list<const WideString*> levels)
{
    WideString path(base.c_str());
    // The fallback lies in a folder every user may write to: anyone could have made it first.
    if (base == Shell::GetFallbackFolder() ? !Shell::MakePrivateFolder(base)
                                           : !File::CreateDirectories(path, false))
    {
        return std::nullopt;
    }
    for (const WideString* level : levels)
    {
        path += WideString(u"/") + File::MakeLegalFileName(*level);
        if (Failed(File::EnsureDirectory(path)))
        {
            return std::nullopt;
        }
    }
    return path;
}

WideString MakeSpecialFolder(Shell::SpecialFolder folder,
                             std::initializer_list<const WideString*> levels)
{
    const std::vector<std::string> candidates = Shell::GetSpecialFolderCandidates(folder);
    for (std::size_t i = 0; i < candidates.size(); ++i)
    {
        if (std::optional<WideString> path = MakeFolder(candidates[i], levels))
        {
            return *path;
        }
        const bool last = i + 1 == candidates.size();
        DebugStreams::Narrow() << "GetFolder: cannot make a folder in " << candidates[i]
                               << (last ? std::string(" (it must be this user's own folder, "
                                                      "closed to others)")
                                        : "; trying " + candidates[i + 1])
                               << std::endl;
    }
    return WideString();
}

WideString GetProgramFolder()
{
    const std::optional<std::string> program = Shell::GetProgramPath();
    return program ? File::GetDirectory(WideString(program->c_str())) : WideString();
}

} // namespace

bool IsLinkInFallbackFolder(const WideString& path)
{
    const std::string narrow = path.ToNarrowString().GetString();
    struct stat status;
    return narrow.starts_with(Shell::GetFallbackFolder() + "/") &&
           (::lstat(narrow.c_str(), &status) != 0 ? errno != ENOENT : S_ISLNK(status.st_mode));
}

WideString GetApplicationFolder(std::int32_t id, const WideString& company,
                                const WideString& product)
{
    switch (id)
    {
    case kFolderProgram:
        return GetProgramFolder();
    case kFolderEmbeddedResources:
        return WideString(u"::");
    case kFolderSharedApplicationData:
        return MakeSpecialFolder(Shell::SpecialFolder::SharedApplicationData, {&company, &product});
    case kFolderLocalApplicationData:
        return MakeSpecialFolder(Shell::SpecialFolder::LocalApplicationData, {&company, &product});
    case kFolderDocuments:
        return MakeSpecialFolder(Shell::SpecialFolder::Documents, {});
    default:
        QZ_THROW_OUT_OF_RANGE("QZ::LApplicationBase::GetFolder", "Unknown Path ID.");
    }
}

} // namespace QZ
