// The settings library's state: the open settings files by handle, and every operation of the
// library's entry points in C++ terms (results are the INI_RESULT_* codes). Thread-safe: one lock
// guards all files.
#pragma once

#include "Platform/Settings/IniDocument.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace IniSettings
{

class SettingsStore
{
public:
    // version and product may be null (empty). On success handle is the new handle, else 0.
    [[nodiscard]] std::int32_t Open(const char* path, const char* version, const char* product,
                                    std::int32_t& handle);
    [[nodiscard]] std::int32_t Write(std::int32_t handle);
    [[nodiscard]] std::int32_t Close(std::int32_t handle);
    [[nodiscard]] bool NodeExists(std::int32_t handle, const char* node);

    [[nodiscard]] std::int32_t GetInt(std::int32_t handle, const char* node,
                                      std::int32_t defaultValue, std::int32_t& value);
    [[nodiscard]] std::int32_t SetInt(std::int32_t handle, const char* node, std::int32_t value);
    // defaultText may be null (empty).
    [[nodiscard]] std::int32_t GetText(std::int32_t handle, const char* node,
                                       const char* defaultText, std::string& text);
    [[nodiscard]] std::int32_t SetText(std::int32_t handle, const char* node, const char* text);

    [[nodiscard]] std::int32_t GetKeyCount(std::int32_t handle, const char* node,
                                           std::int32_t& count);
    [[nodiscard]] std::int32_t GetKeyNameAt(std::int32_t handle, const char* node,
                                            std::int32_t index, std::string& name);

    [[nodiscard]] std::int32_t GetArrayCount(std::int32_t handle, const char* node,
                                             std::int32_t& count);
    [[nodiscard]] std::int32_t SetArrayCount(std::int32_t handle, const char* node,
                                             std::int32_t count);
    [[nodiscard]] std::int32_t GetArrayItemAt(std::int32_t handle, const char* node,
                                              std::int32_t index, std::string& item);
    [[nodiscard]] std::int32_t SetArrayItemAt(std::int32_t handle, const char* node,
                                              std::int32_t index, const char* text);
    [[nodiscard]] std::int32_t RemoveArrayItemAt(std::int32_t handle, const char* node,
                                                 std::int32_t index);

private:
    struct SettingsFile
    {
        std::string path;
        std::string title;
        IniDocument document;
    };

    // The open file with this handle and a well-formed node (a key when mustBeKey), or a result.
    [[nodiscard]] std::int32_t Find(std::int32_t handle, const char* node, bool mustBeKey,
                                    SettingsFile*& file);
    [[nodiscard]] std::int32_t Save(const SettingsFile& file);
    [[nodiscard]] std::int32_t LoadDocument(const std::string& path, IniDocument& document);
    // One line on stderr naming the file and what went wrong, the first time for each file.
    void ReportOnce(const std::string& path, const std::string& what);
    std::int32_t NextHandle();

    std::mutex mLock;
    std::map<std::int32_t, SettingsFile> mFiles;
    std::int32_t mLastHandle = 0;
    std::mutex mReportLock;
    std::set<std::string> mReported;
};

} // namespace IniSettings
