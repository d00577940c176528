// What the shell's tests share: a private home for one test (HOME, the XDG folders and the
// temporary folder all point into a fresh folder that is removed afterwards, so nothing touches
// the real user's files) and control resources whose framework texts come from a table.
#pragma once

#include "QZFramework/Application/ControlResources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

class ShellEnvironment : public testing::Test
{
protected:
    void SetUp() override
    {
        // Short: the runtime folder's socket path must fit a socket address.
        static int serial = 0;
        mRoot = std::filesystem::temp_directory_path() /
                ("sh-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(mRoot);
        for (const char* folder : {"home", "data", "config", "runtime", "tmp"})
        {
            std::filesystem::create_directories(mRoot / folder);
        }
        std::filesystem::permissions(mRoot / "runtime", std::filesystem::perms::owner_all);
        for (const char* name : kVariables)
        {
            const char* value = std::getenv(name);
            mSaved.emplace_back(name, value != nullptr ? std::optional<std::string>(value)
                                                       : std::nullopt);
        }
        setenv("HOME", Path("home").c_str(), 1);
        setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", Path("runtime").c_str(), 1);
        setenv("TMPDIR", Path("tmp").c_str(), 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : mSaved)
        {
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        }
        std::filesystem::remove_all(mRoot);
    }

    std::string Path(const std::string& relative) const { return (mRoot / relative).string(); }

    std::filesystem::path mRoot;

private:
    static constexpr const char* kVariables[] = {
        "HOME",   "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
        "TMPDIR", "DISPLAY",       "WAYLAND_DISPLAY"};
    std::vector<std::pair<const char*, std::optional<std::string>>> mSaved;
};

class TableResources : public QZ::IControlResources
{
public:
    QZ::QZRESULT LoadStringTablesAndSkins(const QZ::WideString& folder,
                                          std::uint32_t language) override
    {
        loadedFolder = folder.ToNarrowString().GetString();
        loadedLanguage = language;
        return loadResult;
    }
    bool LookupFrameworkString(const char16_t* key, QZ::WideString& text) const override
    {
        const auto found = strings.find(key);
        if (found == strings.end())
        {
            return false;
        }
        text = QZ::WideString(found->second.c_str());
        return true;
    }

    QZ::QZRESULT loadResult = QZ::S_OK;
    std::map<std::u16string, std::u16string> strings;
    std::string loadedFolder;
    std::uint32_t loadedLanguage = 0;
};
