#include "Platform/Settings/SettingsStore.h"

#include "Platform/Settings/IniFileManagerLibrary.h"
#include "Platform/Settings/IniFormat.h"
#include "Platform/Settings/IniText.h"
#include "Platform/Settings/SettingsFileIO.h"
#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>

namespace IniSettings
{
namespace
{

using Guard = std::lock_guard<std::mutex>;

bool IsValidText(const char* text)
{
    if (text == nullptr)
    {
        return false;
    }
    const std::string_view view(text);
    return view.size() <= INI_MAX_TEXT_BYTES && IsValidUtf8(view);
}

// The file's first comment: "<product> settings, version <version>", control characters blanked.
std::string MakeTitle(std::string_view version, std::string_view product)
{
    std::string title = product.empty() ? "Settings" : std::string(product) + " settings";
    if (!version.empty())
    {
        title += ", version ";
        title += version;
    }
    for (char& c : title)
    {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
        {
            c = ' ';
        }
    }
    return title;
}

} // namespace

std::int32_t SettingsStore::Open(const char* path, const char* version, const char* product,
                                 std::int32_t& handle)
{
    handle = 0;
    const std::string_view versionText = version != nullptr ? version : "";
    const std::string_view productText = product != nullptr ? product : "";
    if (path == nullptr || *path == 0 || !IsValidUtf8(versionText) || !IsValidUtf8(productText))
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    SettingsFile file{path, MakeTitle(versionText, productText), IniDocument()};
    const std::int32_t loaded = LoadDocument(file.path, file.document);
    if (loaded != INI_RESULT_OK)
    {
        return loaded;
    }
    const Guard guard(mLock);
    handle = NextHandle();
    mFiles.emplace(handle, std::move(file));
    return INI_RESULT_OK;
}

std::int32_t SettingsStore::Write(std::int32_t handle)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, "", false, file);
    return found != INI_RESULT_OK ? found : Save(*file);
}

std::int32_t SettingsStore::Close(std::int32_t handle)
{
    const Guard guard(mLock);
    return mFiles.erase(handle) != 0 ? INI_RESULT_OK : INI_RESULT_BAD_HANDLE;
}

bool SettingsStore::NodeExists(std::int32_t handle, const char* node)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    return Find(handle, node, false, file) == INI_RESULT_OK && file->document.NodeExists(node);
}

std::int32_t SettingsStore::GetInt(std::int32_t handle, const char* node, std::int32_t defaultValue,
                                   std::int32_t& value)
{
    value = defaultValue;
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, true, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    const std::string* text = file->document.FindValue(node);
    if (text == nullptr)
    {
        return INI_RESULT_OK;
    }
    const std::optional<std::int32_t> number = ParseInt32(*text);
    if (!number)
    {
        return INI_RESULT_NOT_AN_INTEGER;
    }
    value = *number;
    return INI_RESULT_OK;
}

std::int32_t SettingsStore::SetInt(std::int32_t handle, const char* node, std::int32_t value)
{
    return SetText(handle, node, std::to_string(value).c_str());
}

std::int32_t SettingsStore::GetText(std::int32_t handle, const char* node, const char* defaultText,
                                    std::string& text)
{
    text = defaultText != nullptr ? defaultText : "";
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, true, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    if (const std::string* value = file->document.FindValue(node))
    {
        text = *value;
    }
    return INI_RESULT_OK;
}

std::int32_t SettingsStore::SetText(std::int32_t handle, const char* node, const char* text)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, true, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    if (!IsValidText(text))
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    file->document.SetValue(node, text);
    return Save(*file);
}

std::int32_t SettingsStore::GetKeyCount(std::int32_t handle, const char* node, std::int32_t& count)
{
    count = 0;
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    if (found == INI_RESULT_OK)
    {
        count = file->document.GetKeyCount(node);
    }
    return found;
}

std::int32_t SettingsStore::GetKeyNameAt(std::int32_t handle, const char* node, std::int32_t index,
                                         std::string& name)
{
    name.clear();
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    return found != INI_RESULT_OK ? found : file->document.GetKeyNameAt(node, index, name);
}

std::int32_t SettingsStore::GetArrayCount(std::int32_t handle, const char* node,
                                          std::int32_t& count)
{
    count = 0;
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    if (found == INI_RESULT_OK)
    {
        count = file->document.GetArrayCount(node);
    }
    return found;
}

std::int32_t SettingsStore::SetArrayCount(std::int32_t handle, const char* node, std::int32_t count)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    if (count < 0)
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    file->document.SetArrayCount(node, count);
    return Save(*file);
}

std::int32_t SettingsStore::GetArrayItemAt(std::int32_t handle, const char* node,
                                           std::int32_t index, std::string& item)
{
    item.clear();
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    return found != INI_RESULT_OK ? found : file->document.GetArrayItemAt(node, index, item);
}

std::int32_t SettingsStore::SetArrayItemAt(std::int32_t handle, const char* node,
                                           std::int32_t index, const char* text)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    if (index < 0 || index == INT_MAX || !IsValidText(text))
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    file->document.SetArrayItemAt(node, index, text);
    return Save(*file);
}

std::int32_t SettingsStore::RemoveArrayItemAt(std::int32_t handle, const char* node,
                                              std::int32_t index)
{
    const Guard guard(mLock);
    SettingsFile* file = nullptr;
    const std::int32_t found = Find(handle, node, false, file);
    if (found != INI_RESULT_OK)
    {
        return found;
    }
    const std::int32_t removed = file->document.RemoveArrayItemAt(node, index);
    return removed != INI_RESULT_OK ? removed : Save(*file);
}

std::int32_t SettingsStore::Find(std::int32_t handle, const char* node, bool mustBeKey,
                                 SettingsFile*& file)
{
    const auto found = mFiles.find(handle);
    if (found == mFiles.end())
    {
        return INI_RESULT_BAD_HANDLE;
    }
    if (node == nullptr || (mustBeKey && *node == 0) || !IsValidNodePath(node))
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    file = &found->second;
    return INI_RESULT_OK;
}

std::int32_t SettingsStore::Save(const SettingsFile& file)
{
    const std::string text = IniFormat::Format(file.document, file.title);
    std::string reason;
    if (SettingsFileIO::WriteFileAtomically(file.path, text, {}, &reason))
    {
        return INI_RESULT_OK;
    }
    ReportOnce(file.path, "cannot be saved: " + reason);
    return INI_RESULT_IO_FAILED;
}

void SettingsStore::ReportOnce(const std::string& path, const std::string& what)
{
    const Guard guard(mReportLock);
    if (mReported.insert(path).second)
    {
        std::fprintf(stderr, "libIniFileManager: %s %s; settings changes are not kept\n",
                     path.c_str(), what.c_str());
    }
}

std::int32_t SettingsStore::LoadDocument(const std::string& path, IniDocument& document)
{
    std::string text;
    switch (SettingsFileIO::ReadWholeFile(path, INI_MAX_FILE_BYTES, text))
    {
    case SettingsFileIO::ReadOutcome::Missing:
        return INI_RESULT_OK;
    case SettingsFileIO::ReadOutcome::Failed:
        ReportOnce(path, "cannot be read: " + QZ::FileSystemRules::DescribeRefusal(path, errno));
        return INI_RESULT_IO_FAILED;
    case SettingsFileIO::ReadOutcome::Read:
        break;
    }
    IniParseError error;
    if (IniFormat::Parse(text, document, error))
    {
        return INI_RESULT_OK;
    }
    const std::optional<std::string> aside = SettingsFileIO::SetFileAside(path);
    if (!aside)
    {
        std::fprintf(stderr,
                     "libIniFileManager: %s, line %d: %s; it cannot be renamed and stays "
                     "as it is\n",
                     path.c_str(), error.line, error.reason.c_str());
        return INI_RESULT_IO_FAILED;
    }
    std::fprintf(stderr, "libIniFileManager: %s, line %d: %s; kept as %s, defaults in use\n",
                 path.c_str(), error.line, error.reason.c_str(), aside->c_str());
    document = IniDocument();
    return INI_RESULT_OK;
}

std::int32_t SettingsStore::NextHandle()
{
    do
    {
        mLastHandle = mLastHandle == INT_MAX ? 1 : mLastHandle + 1;
    } while (mFiles.count(mLastHandle) != 0);
    return mLastHandle;
}

} // namespace IniSettings
