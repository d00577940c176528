// A settings library that lacks RemoveArrayItemAt, for the test that such a library is refused.
// Its entry points abort, since none of them may ever be called.
#include "Platform/Settings/IniFileManagerLibrary.h"

#include <cstdlib>

int32_t OpenIniFile(const char*, const char*, const char*, int32_t*)
{
    std::abort();
}
int32_t WriteIniFile(int32_t)
{
    std::abort();
}
int32_t CloseIniFile(int32_t, int32_t)
{
    std::abort();
}
uint8_t DoesNodeExist(int32_t, const char*)
{
    std::abort();
}
int32_t GetIniValueInt(int32_t, const char*, int32_t, int32_t*)
{
    std::abort();
}
int32_t SetIniValueInt(int32_t, const char*, int32_t)
{
    std::abort();
}
int32_t GetIniValueStr(int32_t, const char*, const char*, char*, int32_t, int32_t*)
{
    std::abort();
}
int32_t SetIniValueStr(int32_t, const char*, const char*)
{
    std::abort();
}
int32_t GetKeyCount(int32_t, const char*, int32_t*)
{
    std::abort();
}
int32_t GetKeyNameAt(int32_t, const char*, int32_t, char*, int32_t, int32_t*)
{
    std::abort();
}
int32_t GetArrayCount(int32_t, const char*, int32_t*)
{
    std::abort();
}
int32_t SetArrayCount(int32_t, const char*, int32_t)
{
    std::abort();
}
int32_t GetArrayItemAt(int32_t, const char*, int32_t, char*, int32_t, int32_t*)
{
    std::abort();
}
int32_t SetArrayItemAt(int32_t, const char*, int32_t, const char*)
{
    std::abort();
}
