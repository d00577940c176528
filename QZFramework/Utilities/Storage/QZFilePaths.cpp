// The static path helpers of File.
#include "QZFramework/Utilities/Storage/QZFile.h"

#include "QZFramework/Utilities/Storage/StringArrayT.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

constexpr char16_t kIllegalFileNameChars[] = u"\\/:*?\"<>|&;,^()";

bool StatPath(const WideString& path, struct stat& status)
{
    NarrowString diskPath;
    return WideStringToFileName(path, diskPath) && ::stat(diskPath.GetString(), &status) == 0;
}

bool IsFolder(const WideString& path)
{
    struct stat status;
    return StatPath(path, status) && S_ISDIR(status.st_mode);
}

bool Exists(const WideString& path)
{
    NarrowString diskPath;
    return WideStringToFileName(path, diskPath) && ::access(diskPath.GetString(), F_OK) == 0;
}

void MakeFolder(const WideString& path)
{
    NarrowString diskPath;
    if (WideStringToFileName(path, diskPath))
    {
        ::mkdir(diskPath.GetString(), 0777);
    }
}

// Wildcard match of whole texts: "*" any run of units, "?" exactly one.
bool MatchesPattern(const char16_t* pattern, const char16_t* name)
{
    const char16_t* starPattern = nullptr;
    const char16_t* starName = nullptr;
    while (*name != 0)
    {
        if (*pattern == u'*')
        {
            starPattern = ++pattern;
            starName = name;
        }
        else if (*pattern == u'?' || *pattern == *name)
        {
            ++pattern;
            ++name;
        }
        else if (starPattern != nullptr)
        {
            pattern = starPattern;
            name = ++starName;
        }
        else
        {
            return false;
        }
    }
    while (*pattern == u'*')
    {
        ++pattern;
    }
    return *pattern == 0;
}

bool IsFolderEntry(const dirent& entry, const WideString& fullPath)
{
    if (entry.d_type == DT_DIR)
    {
        return true;
    }
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
    {
        return false;
    }
    return IsFolder(fullPath);
}

struct FolderCloser
{
    void operator()(DIR* folder) const { ::closedir(folder); }
};

} // namespace

WideString File::MakeLegalFileName(const WideString& name)
{
    WideString legal(name);
    legal.ReplaceChars(kIllegalFileNameChars, u'_');
    return legal;
}

WideString File::GetDirectory(const WideString& path)
{
    const char16_t* units = path.GetString();
    std::int32_t last = -1;
    for (std::int32_t i = 0; units[i] != 0; ++i)
    {
        if (units[i] == PathSeparator)
        {
            last = i;
        }
    }
    if (last < 0)
    {
        return WideString();
    }
    return path.Mid(0, last == 0 ? 1 : last);
}

WideString File::GetLongPath(const WideString& path)
{
    NarrowString diskPath;
    if (!WideStringToFileName(path, diskPath))
    {
        return path;
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(diskPath.GetString(), nullptr), &std::free);
    return resolved ? FileNameToWideString(resolved.get()) : path;
}

QZRESULT File::EnsureDirectory(const WideString& path)
{
    struct stat status;
    if (StatPath(path, status))
    {
        return S_ISDIR(status.st_mode) ? S_FALSE : E_FAIL;
    }
    return CreateDirectories(path, false) ? S_OK : E_FAIL;
}

bool File::FileExists(const WideString& path)
{
    struct stat status;
    return StatPath(path, status) && !S_ISDIR(status.st_mode);
}

QZRESULT File::FindFiles(const WideString& folder, const WideString& pattern,
                         StringArrayT<char16_t, char>& files)
{
    files.RemoveAll();
    if (!IsFolder(folder))
    {
        return E_NOTIMPL;
    }
    NarrowString diskFolder;
    if (!WideStringToFileName(folder, diskFolder))
    {
        return E_NOTIMPL;
    }
    const std::unique_ptr<DIR, FolderCloser> listing(::opendir(diskFolder.GetString()));
    if (!listing)
    {
        return E_FAIL;
    }
    const WideString wanted = pattern == u"*.*" ? WideString(u"*") : pattern.ToLower();
    const WideString prefix = folder + WideString(PathSeparator);
    for (;;)
    {
        errno = 0;
        const dirent* entry = ::readdir(listing.get());
        if (entry == nullptr)
        {
            break;
        }
        const WideString name = FileNameToWideString(entry->d_name);
        const WideString fullPath = prefix + name;
        if (!IsFolderEntry(*entry, fullPath) &&
            MatchesPattern(wanted.GetString(), name.ToLower().GetString()))
        {
            files.Add(fullPath);
        }
    }
    if (errno != 0)
    {
        return E_FAIL;
    }
    return static_cast<QZRESULT>(files.GetCount());
}

bool File::CreateDirectories(const WideString& path, bool lastIsFile)
{
    const char16_t* units = path.GetString();
    std::int32_t last = -1;
    for (std::int32_t i = 1; units[i - 1] != 0 && units[i] != 0; ++i)
    {
        if (units[i] == PathSeparator)
        {
            MakeFolder(path.Mid(0, i));
            last = i;
        }
    }
    if (!lastIsFile)
    {
        MakeFolder(path);
        return Exists(path);
    }
    if (units[0] == PathSeparator && last < 0)
    {
        last = 0;
    }
    if (last < 0)
    {
        return true;
    }
    return Exists(path.Mid(0, last == 0 ? 1 : last));
}

} // namespace QZ
