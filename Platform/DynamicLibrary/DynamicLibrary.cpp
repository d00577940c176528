#include "Platform/DynamicLibrary/DynamicLibrary.h"

#include <dlfcn.h>

namespace Platform
{
namespace
{

std::string SystemError()
{
    const char* text = dlerror();
    return text != nullptr ? text : "unknown failure";
}

} // namespace

DynamicLibrary::~DynamicLibrary()
{
    if (mHandle != nullptr)
    {
        dlclose(mHandle);
    }
}

bool DynamicLibrary::Open(const std::string& path)
{
    if (mHandle != nullptr)
    {
        SetError("Open", "a library is already loaded");
        return false;
    }
    mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mHandle == nullptr)
    {
        SetError("Open", SystemError());
        return false;
    }
    mError.clear();
    return true;
}

bool DynamicLibrary::Close()
{
    if (mHandle == nullptr)
    {
        SetError("Close", "no library is loaded");
        return false;
    }
    const int failed = dlclose(mHandle);
    mHandle = nullptr;
    if (failed != 0)
    {
        SetError("Close", SystemError());
        return false;
    }
    mError.clear();
    return true;
}

void* DynamicLibrary::FindSymbol(const char* name)
{
    if (mHandle == nullptr)
    {
        SetError("FindSymbol", "no library is loaded");
        return nullptr;
    }
    dlerror();
    void* address = dlsym(mHandle, name);
    if (address == nullptr)
    {
        SetError("FindSymbol", SystemError());
        return nullptr;
    }
    mError.clear();
    return address;
}

void DynamicLibrary::SetError(const char* where, const std::string& what)
{
    mError = std::string("DynamicLibrary::") + where + ": " + what;
}

} // namespace Platform
