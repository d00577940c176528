// The 15 entry points of libIniFileManager.so (C linkage and export come from their declarations).
// No exception may cross the C interface: each entry point turns one into
// INI_RESULT_INTERNAL_FAILURE.
#include "Platform/Settings/IniFileManagerLibrary.h"

#include "Platform/Settings/SettingsStore.h"

#include <cstring>
#include <string>

using IniSettings::SettingsStore;

namespace
{

SettingsStore& Store()
{
    static SettingsStore store;
    return store;
}

// Hands a text out through the caller's buffer (protocol in IniFileManagerLibrary.h).
int32_t HandOut(const std::string& text, char* buffer, int32_t size, int32_t* needed)
{
    if (needed == nullptr || size < 0 || (buffer == nullptr && size > 0))
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    const std::size_t need = text.size() + 1;
    *needed = static_cast<int32_t>(need);
    if (need > static_cast<std::size_t>(size))
    {
        if (size > 0)
        {
            buffer[0] = 0;
        }
        return INI_RESULT_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, text.c_str(), need);
    return INI_RESULT_OK;
}

// Runs a text query and hands its text out when it succeeded.
template <class Query> int32_t QueryText(Query query, char* buffer, int32_t size, int32_t* needed)
{
    std::string text;
    const int32_t result = query(text);
    return result == INI_RESULT_OK ? HandOut(text, buffer, size, needed) : result;
}

template <class Call> int32_t Guarded(Call call)
{
    try
    {
        return call();
    }
    catch (...)
    {
        return INI_RESULT_INTERNAL_FAILURE;
    }
}

} // namespace

int32_t OpenIniFile(const char* path, const char* version, const char* product, int32_t* handle)
{
    if (handle == nullptr)
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    *handle = 0;
    return Guarded([&] { return Store().Open(path, version, product, *handle); });
}

int32_t WriteIniFile(int32_t handle)
{
    return Guarded([&] { return Store().Write(handle); });
}

int32_t CloseIniFile(int32_t handle, int32_t)
{
    return Guarded([&] { return Store().Close(handle); });
}

uint8_t DoesNodeExist(int32_t handle, const char* node)
{
    return Guarded([&] { return Store().NodeExists(handle, node) ? 1 : 0; }) == 1 ? 1 : 0;
}

int32_t GetIniValueInt(int32_t handle, const char* node, int32_t defaultValue, int32_t* value)
{
    if (value == nullptr)
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    *value = defaultValue;
    return Guarded([&] { return Store().GetInt(handle, node, defaultValue, *value); });
}

int32_t SetIniValueInt(int32_t handle, const char* node, int32_t value)
{
    return Guarded([&] { return Store().SetInt(handle, node, value); });
}

int32_t GetIniValueStr(int32_t handle, const char* node, const char* defaultText, char* buffer,
                       int32_t size, int32_t* needed)
{
    return Guarded(
        [&]
        {
            return QueryText([&](std::string& text)
                             { return Store().GetText(handle, node, defaultText, text); },
                             buffer, size, needed);
        });
}

int32_t SetIniValueStr(int32_t handle, const char* node, const char* text)
{
    return Guarded([&] { return Store().SetText(handle, node, text); });
}

int32_t GetKeyCount(int32_t handle, const char* node, int32_t* count)
{
    if (count == nullptr)
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    *count = 0;
    return Guarded([&] { return Store().GetKeyCount(handle, node, *count); });
}

int32_t GetKeyNameAt(int32_t handle, const char* node, int32_t index, char* buffer, int32_t size,
                     int32_t* needed)
{
    return Guarded(
        [&]
        {
            return QueryText([&](std::string& name)
                             { return Store().GetKeyNameAt(handle, node, index, name); },
                             buffer, size, needed);
        });
}

int32_t GetArrayCount(int32_t handle, const char* node, int32_t* count)
{
    if (count == nullptr)
    {
        return INI_RESULT_BAD_ARGUMENT;
    }
    *count = 0;
    return Guarded([&] { return Store().GetArrayCount(handle, node, *count); });
}

int32_t SetArrayCount(int32_t handle, const char* node, int32_t count)
{
    return Guarded([&] { return Store().SetArrayCount(handle, node, count); });
}

int32_t GetArrayItemAt(int32_t handle, const char* node, int32_t index, char* buffer, int32_t size,
                       int32_t* needed)
{
    return Guarded(
        [&]
        {
            return QueryText([&](std::string& item)
                             { return Store().GetArrayItemAt(handle, node, index, item); },
                             buffer, size, needed);
        });
}

int32_t SetArrayItemAt(int32_t handle, const char* node, int32_t index, const char* text)
{
    return Guarded([&] { return Store().SetArrayItemAt(handle, node, index, text); });
}

int32_t RemoveArrayItemAt(int32_t handle, const char* node, int32_t index)
{
    return Guarded([&] { return Store().RemoveArrayItemAt(handle, node, index); });
}
