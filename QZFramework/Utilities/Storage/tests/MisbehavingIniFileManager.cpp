// A settings library that breaks the text protocol, for the tests that the proxy stays within
// its buffers: GetIniValueStr asks for 2 GiB and then fills the whole buffer without a NUL,
// GetKeyNameAt fills the first buffer without a NUL, GetArrayItemAt says "too small" twice.
#include "Platform/Settings/IniFileManagerLibrary.h"

#include <climits>
#include <cstring>

namespace
{

constexpr int32_t kFirstBufferSize = 1024;

} // namespace

int32_t OpenIniFile(const char*, const char*, const char*, int32_t* handle)
{
    *handle = 1;
    return INI_RESULT_OK;
}

int32_t WriteIniFile(int32_t) { return INI_RESULT_OK; }

int32_t CloseIniFile(int32_t, int32_t) { return INI_RESULT_OK; }

uint8_t DoesNodeExist(int32_t, const char*) { return 0; }

int32_t GetIniValueInt(int32_t, const char*, int32_t defaultValue, int32_t* value)
{
    *value = defaultValue;
    return INI_RESULT_OK;
}

int32_t SetIniValueInt(int32_t, const char*, int32_t) { return INI_RESULT_OK; }

int32_t GetIniValueStr(int32_t, const char*, const char*, char* buffer, int32_t size,
                       int32_t* needed)
{
    if (size <= kFirstBufferSize)
    {
        *needed = INT_MAX;
        return INI_RESULT_BUFFER_TOO_SMALL;
    }
    std::memset(buffer, 'z', static_cast<size_t>(size));
    *needed = size;
    return INI_RESULT_OK;
}

int32_t SetIniValueStr(int32_t, const char*, const char*) { return INI_RESULT_OK; }

int32_t GetKeyCount(int32_t, const char*, int32_t* count)
{
    *count = 1;
    return INI_RESULT_OK;
}

int32_t GetKeyNameAt(int32_t, const char*, int32_t, char* buffer, int32_t size, int32_t* needed)
{
    std::memset(buffer, 'n', static_cast<size_t>(size));
    *needed = size;
    return INI_RESULT_OK;
}

int32_t GetArrayCount(int32_t, const char*, int32_t* count)
{
    *count = 1;
    return INI_RESULT_OK;
}

int32_t SetArrayCount(int32_t, const char*, int32_t) { return INI_RESULT_OK; }

int32_t GetArrayItemAt(int32_t, const char*, int32_t, char* buffer, int32_t size, int32_t* needed)
{
    std::memset(buffer, 'g', static_cast<size_t>(size));
    *needed = size + 1;
    return INI_RESULT_BUFFER_TOO_SMALL;
}

int32_t SetArrayItemAt(int32_t, const char*, int32_t, const char*) { return INI_RESULT_OK; }

int32_t RemoveArrayItemAt(int32_t, const char*, int32_t) { return INI_RESULT_OK; }
