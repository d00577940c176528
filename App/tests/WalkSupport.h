// What the walks through the real program share: a private home for it, reading back a file it
// wrote and waiting, with a time-out, for what it shows or writes.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>

#include <stdlib.h>

namespace WalkSupport
{

inline constexpr int kWaitMs = 10000;

// Makes root's folders home, runtime and the others named, and points the program's home and
// runtime folder there, so that nothing of the user's settings, nor a program of another session
// (with its own runtime folder), is this one's.
inline void MakePrivateHome(const std::filesystem::path& root,
                            std::initializer_list<const char*> others = {})
{
    std::filesystem::create_directories(root / "home");
    std::filesystem::create_directories(root / "runtime");
    for (const char* folder : others)
    {
        std::filesystem::create_directories(root / folder);
    }
    std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
}

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Polls done until it holds (true) or the time-out passes (false).
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = kWaitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace WalkSupport
