#include "QZFramework/Utilities/Storage/IniFileManagerProxy.h"

#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <ostream>
#include <vector>

namespace QZ
{
namespace
{

std::string ToUtf8(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// The library's path in folder; false when folder is no file name, since a bare library name
// would be looked for along the system's library path instead.
bool LibraryPath(const WideString& folder, std::string& path)
{
    NarrowString diskFolder;
    if (!WideStringToFileName(folder, diskFolder))
    {
        return false;
    }
    path = diskFolder.GetString();
    if (!path.empty() && path.back() != '/')
    {
        path += '/';
    }
    path += CIniFileManagerProxy::LibraryFileName;
    return true;
}

void ReportLoadFailure(const std::string& text)
{
    DebugStreams::Narrow() << "CIniFileManagerProxy::Initialize: " << text << std::endl;
}

} // namespace

CIniFileManagerProxy::~CIniFileManagerProxy()
{
    if (IsLoaded())
    {
        Uninitialize();
    }
}

QZRESULT CIniFileManagerProxy::Initialize(const WideString& folder)
{
    if (IsLoaded())
    {
        return S_FALSE;
    }
    std::string path;
    if (!LibraryPath(folder, path))
    {
        ReportLoadFailure("the folder's name cannot be stored on disk");
        return E_FAIL;
    }
    if (!mLibrary.Open(path))
    {
        ReportLoadFailure(mLibrary.GetError());
        return E_FAIL;
    }
    std::string failure;
    if (!ResolveEntryPoints(failure))
    {
        ReportLoadFailure(failure);
        ClearEntryPoints();
        static_cast<void>(mLibrary.Close());
        return E_FAIL;
    }
    return S_OK;
}

QZRESULT CIniFileManagerProxy::Uninitialize()
{
    if (!IsLoaded())
    {
        return S_FALSE;
    }
    ClearEntryPoints();
    return mLibrary.Close() ? S_OK : E_FAIL;
}

bool CIniFileManagerProxy::ResolveEntryPoints(std::string& failure)
{
    failure.clear();
    const auto resolve = [&](auto& entryPoint, const char* name)
    {
        entryPoint = mLibrary.FindFunction<std::remove_reference_t<decltype(entryPoint)>>(name);
        if (entryPoint == nullptr && failure.empty())
        {
            failure = mLibrary.GetError();
        }
    };
    resolve(mOpenIniFile, "OpenIniFile");
    resolve(mWriteIniFile, "WriteIniFile");
    resolve(mCloseIniFile, "CloseIniFile");
    resolve(mDoesNodeExist, "DoesNodeExist");
    resolve(mGetIniValueInt, "GetIniValueInt");
    resolve(mSetIniValueInt, "SetIniValueInt");
    resolve(mGetIniValueStr, "GetIniValueStr");
    resolve(mSetIniValueStr, "SetIniValueStr");
    resolve(mGetKeyCount, "GetKeyCount");
    resolve(mGetKeyNameAt, "GetKeyNameAt");
    resolve(mGetArrayCount, "GetArrayCount");
    resolve(mSetArrayCount, "SetArrayCount");
    resolve(mGetArrayItemAt, "GetArrayItemAt");
    resolve(mSetArrayItemAt, "SetArrayItemAt");
    resolve(mRemoveArrayItemAt, "RemoveArrayItemAt");
    return failure.empty();
}

void CIniFileManagerProxy::ClearEntryPoints()
{
    mOpenIniFile = nullptr;
    mWriteIniFile = nullptr;
    mCloseIniFile = nullptr;
    mDoesNodeExist = nullptr;
    mGetIniValueInt = nullptr;
    mSetIniValueInt = nullptr;
    mGetIniValueStr = nullptr;
    mSetIniValueStr = nullptr;
    mGetKeyCount = nullptr;
    mGetKeyNameAt = nullptr;
    mGetArrayCount = nullptr;
    mSetArrayCount = nullptr;
    mGetArrayItemAt = nullptr;
    mSetArrayItemAt = nullptr;
    mRemoveArrayItemAt = nullptr;
}

template <class Query> QZRESULT CIniFileManagerProxy::ReadText(const Query& query, WideString& text)
{
    std::vector<char> buffer(TextBufferSize, 0);
    std::int32_t needed = 0;
    QZRESULT result = query(buffer.data(), TextBufferSize, &needed);
    if (result == INI_RESULT_BUFFER_TOO_SMALL)
    {
        const std::int32_t size = std::clamp(needed, 1, MaxTextBufferSize);
        buffer.assign(static_cast<std::size_t>(size), 0);
        result = query(buffer.data(), size, &needed);
    }
    if (result == INI_RESULT_OK)
    {
        buffer.back() = 0;
        text = WideString(buffer.data());
    }
    return result;
}

QZRESULT CIniFileManagerProxy::OpenIniFile(const WideString& path, const WideString& version,
                                           const WideString& product, std::int32_t& handle)
{
    handle = 0;
    if (!IsLoaded())
    {
        return E_FAIL;
    }
    NarrowString diskPath;
    if (!WideStringToFileName(path, diskPath))
    {
        return E_FAIL;
    }
    return mOpenIniFile(diskPath.GetString(), ToUtf8(version).c_str(), ToUtf8(product).c_str(),
                        &handle);
}

QZRESULT CIniFileManagerProxy::WriteIniFile(std::int32_t handle)
{
    return IsLoaded() ? mWriteIniFile(handle) : E_FAIL;
}

bool CIniFileManagerProxy::DoesNodeExist(std::int32_t handle, const WideString& node)
{
    return IsLoaded() && mDoesNodeExist(handle, ToUtf8(node).c_str()) != 0;
}

QZRESULT CIniFileManagerProxy::CloseIniFile(std::int32_t handle, std::int32_t flag)
{
    return IsLoaded() ? mCloseIniFile(handle, flag) : E_FAIL;
}

QZRESULT CIniFileManagerProxy::GetIniValueInt(std::int32_t handle, const WideString& node,
                                              std::int32_t defaultValue, std::int32_t& value)
{
    value = defaultValue;
    if (!IsLoaded())
    {
        return E_FAIL;
    }
    return mGetIniValueInt(handle, ToUtf8(node).c_str(), defaultValue, &value);
}

QZRESULT CIniFileManagerProxy::SetIniValueInt(std::int32_t handle, const WideString& node,
                                              std::int32_t value)
{
    return IsLoaded() ? mSetIniValueInt(handle, ToUtf8(node).c_str(), value) : E_FAIL;
}

QZRESULT CIniFileManagerProxy::GetIniValueStr(std::int32_t handle, const WideString& node,
                                              const WideString& defaultText, WideString& text)
{
    text = defaultText;
    if (!IsLoaded())
    {
        return E_FAIL;
    }
    const std::string path = ToUtf8(node);
    const std::string fallback = ToUtf8(defaultText);
    return ReadText(
        [&](char* buffer, std::int32_t size, std::int32_t* needed)
        { return mGetIniValueStr(handle, path.c_str(), fallback.c_str(), buffer, size, needed); },
        text);
}

QZRESULT CIniFileManagerProxy::SetIniValueStr(std::int32_t handle, const WideString& node,
                                              const WideString& text)
{
    return IsLoaded() ? mSetIniValueStr(handle, ToUtf8(node).c_str(), ToUtf8(text).c_str())
                      : E_FAIL;
}

QZRESULT CIniFileManagerProxy::GetKeyCount(std::int32_t handle, const WideString& node,
                                           std::int32_t& count)
{
    count = 0;
    return IsLoaded() ? mGetKeyCount(handle, ToUtf8(node).c_str(), &count) : E_FAIL;
}

QZRESULT CIniFileManagerProxy::GetKeyNameAt(std::int32_t handle, const WideString& node,
                                            std::int32_t index, WideString& name)
{
    name.Clear();
    if (!IsLoaded())
    {
        return E_FAIL;
    }
    const std::string path = ToUtf8(node);
    return ReadText([&](char* buffer, std::int32_t size, std::int32_t* needed)
                    { return mGetKeyNameAt(handle, path.c_str(), index, buffer, size, needed); },
                    name);
}

QZRESULT CIniFileManagerProxy::GetArrayCount(std::int32_t handle, const WideString& node,
                                             std::int32_t& count)
{
    count = 0;
    return IsLoaded() ? mGetArrayCount(handle, ToUtf8(node).c_str(), &count) : E_FAIL;
}

QZRESULT CIniFileManagerProxy::SetArrayCount(std::int32_t handle, const WideString& node,
                                             std::int32_t count)
{
    return IsLoaded() ? mSetArrayCount(handle, ToUtf8(node).c_str(), count) : E_FAIL;
}

QZRESULT CIniFileManagerProxy::GetArrayItemAt(std::int32_t handle, const WideString& node,
                                              std::int32_t index, WideString& item)
{
    item.Clear();
    if (!IsLoaded())
    {
        return E_FAIL;
    }
    const std::string path = ToUtf8(node);
    return ReadText([&](char* buffer, std::int32_t size, std::int32_t* needed)
                    { return mGetArrayItemAt(handle, path.c_str(), index, buffer, size, needed); },
                    item);
}

QZRESULT CIniFileManagerProxy::SetArrayItemAt(std::int32_t handle, const WideString& node,
                                              std::int32_t index, const WideString& text)
{
    return IsLoaded() ? mSetArrayItemAt(handle, ToUtf8(node).c_str(), index, ToUtf8(text).c_str())
                      : E_FAIL;
}

QZRESULT CIniFileManagerProxy::RemoveArrayItemAt(std::int32_t handle, const WideString& node,
                                                 std::int32_t index)
{
    return IsLoaded() ? mRemoveArrayItemAt(handle, ToUtf8(node).c_str(), index) : E_FAIL;
}

} // namespace QZ
