// The contents of one settings file: sections of keys with text values, in file order.
//
// Node paths, arrays and their rules are described in IniFileManagerLibrary.h. The document trusts
// its caller to pass well-formed node paths and texts (the library's entry points check them); it
// answers index questions with the library's result codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace IniSettings
{

struct IniEntry
{
    std::string key;
    std::string value;

    bool operator==(const IniEntry&) const = default;
};

struct IniSection
{
    std::string path;
    std::vector<IniEntry> entries;

    bool operator==(const IniSection&) const = default;
};

class IniDocument
{
public:
    // The top-level section (path "") always exists and always comes first.
    IniDocument();

    const std::vector<IniSection>& GetSections() const { return mSections; }
    const IniSection* FindSection(std::string_view path) const;
    // The section with this path, appended when there is none yet.
    IniSection& GetOrAddSection(std::string_view path);

    [[nodiscard]] bool NodeExists(std::string_view node) const;
    // The key's value, or null when the node is not a key.
    [[nodiscard]] const std::string* FindValue(std::string_view node) const;
    void SetValue(std::string_view node, std::string_view value);

    [[nodiscard]] std::int32_t GetKeyCount(std::string_view node) const;
    [[nodiscard]] std::int32_t GetKeyNameAt(std::string_view node, std::int32_t index,
                                            std::string& name) const;

    [[nodiscard]] std::int32_t GetArrayCount(std::string_view node) const;
    [[nodiscard]] std::int32_t GetArrayItemAt(std::string_view node, std::int32_t index,
                                              std::string& item) const;
    void SetArrayCount(std::string_view node, std::int32_t count);
    void SetArrayItemAt(std::string_view node, std::int32_t index, std::string_view text);
    [[nodiscard]] std::int32_t RemoveArrayItemAt(std::string_view node, std::int32_t index);

    bool operator==(const IniDocument&) const = default;

private:
    IniSection* FindMutableSection(std::string_view path);

    std::vector<IniSection> mSections;
};

} // namespace IniSettings
