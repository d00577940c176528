// A shared library loaded at run time (dlopen/dlsym).
//
// Failures are reported by result, never by exception; the text of the last failure, with the
// system's own words from dlerror(), stays readable through GetError until the next call.
// One object is used by one thread at a time.
#pragma once

#include <string>

namespace Platform
{

class DynamicLibrary
{
public:
    DynamicLibrary() = default;
    // Unloads the library when it is still loaded.
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library at the UTF-8 path, resolving all its symbols at once. A path without a
    // slash is looked up along the system's library search path. False when it cannot be loaded
    // or when a library is already loaded by this object.
    [[nodiscard]] bool Open(const std::string& path);
    // Unloads the library; false when nothing was loaded or the system refused.
    [[nodiscard]] bool Close();
    [[nodiscard]] bool IsOpen() const { return mHandle != nullptr; }

    // The address of an exported symbol, or null (with the failure text) when it is missing.
    [[nodiscard]] void* FindSymbol(const char* name);

    // Casts the symbol's address to a function pointer type.
    template <class Function> [[nodiscard]] Function FindFunction(const char* name)
    {
        return reinterpret_cast<Function>(FindSymbol(name));
    }

    const std::string& GetError() const { return mError; }

private:
    void SetError(const char* where, const std::string& what);

    void* mHandle = nullptr;
    std::string mError;
};

} // namespace Platform
