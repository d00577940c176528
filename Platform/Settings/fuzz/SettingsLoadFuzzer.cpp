// A settings file of arbitrary bytes is opened through the library's entry points in a scratch
// folder and read back through every reader, with buffers of every size.
//
// A file that parses opens with exactly the parsed contents: each key's text, its integer (an
// optional sign and decimal digits within 32 bits, else the default), the key names of each
// section and the items of each array. A file that does not parse, or is larger than the library
// reads, is set aside whole as "<name>.damaged" and the settings open empty.
//
// Input: one flag byte (bits 0-3: the buffer size for the first try of every text read; the value
// 0xA5 also grows the file past the size limit), then the file's bytes.
#include "Platform/Settings/IniFileManagerLibrary.h"
#include "Platform/Settings/IniFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr std::uint8_t kPastTheLimit = 0xA5;
constexpr std::int32_t kMostItemsRead = 16;
constexpr std::int32_t kDefault = 7;

void Fail(const char* what)
{
    std::fprintf(stderr, "SettingsLoadFuzzer: %s\n", what);
    std::abort();
}

// A new folder of its own, removed again when the input is done.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "settings-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
        {
            Fail("no scratch folder");
        }
        mPath = pattern;
    }
    ~ScratchFolder() { fs::remove_all(mPath); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const fs::path& GetPath() const { return mPath; }

private:
    fs::path mPath;
};

// Reads one text through a reader that fills a caller's buffer: first into a buffer of firstSize
// bytes, then, when that was too small, into one of the size asked for.
template <class Reader> std::optional<std::string> ReadText(std::int32_t firstSize, Reader read)
{
    std::vector<char> buffer(static_cast<std::size_t>(firstSize) + 1, 'x');
    std::int32_t needed = -1;
    std::int32_t result = read(firstSize == 0 ? nullptr : buffer.data(), firstSize, needed);
    if (result == INI_RESULT_BUFFER_TOO_SMALL)
    {
        if (needed <= firstSize || (firstSize > 0 && buffer[0] != 0))
        {
            Fail("a buffer found too small is not left empty or the size asked for is wrong");
        }
        buffer.assign(static_cast<std::size_t>(needed), 'x');
        result = read(buffer.data(), needed, needed);
    }
    if (result != INI_RESULT_OK)
    {
        return std::nullopt;
    }
    if (needed < 1 || buffer[static_cast<std::size_t>(needed) - 1] != 0 ||
        std::strlen(buffer.data()) + 1 != static_cast<std::size_t>(needed))
    {
        Fail("a text read does not fill the size it reports");
    }
    return std::string(buffer.data());
}

// An optional sign and decimal digits (leading zeros of any number) whose value fits in 32 bits,
// read digit by digit.
std::optional<std::int32_t> ReadInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
    {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    {
        return std::nullopt;
    }
    const std::size_t first = text.find_first_not_of('0');
    const std::string_view digits = first == std::string_view::npos ? "" : text.substr(first);
    // Eleven significant digits are past 32 bits whatever they are.
    if (digits.size() > 10)
    {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits)
    {
        value = value * 10 + (c - '0');
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
    {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// The item number a key stands for: decimal without leading zeros, at most 2147483646.
std::optional<std::int32_t> ReadItemNumber(const std::string& key)
{
    if (key.empty() || key[0] == '+' || key[0] == '-' || (key.size() > 1 && key[0] == '0'))
    {
        return std::nullopt;
    }
    const std::optional<std::int32_t> number = ReadInteger(key);
    return number && *number < INT32_MAX ? number : std::nullopt;
}

void CheckKey(std::int32_t handle, const std::string& node, const std::string& value,
              std::int32_t firstSize)
{
    const auto text =
        ReadText(firstSize, [&](char* buffer, std::int32_t size, std::int32_t& needed)
                 { return GetIniValueStr(handle, node.c_str(), "", buffer, size, &needed); });
    std::int32_t number = 0;
    const std::int32_t result = GetIniValueInt(handle, node.c_str(), kDefault, &number);
    const std::optional<std::int32_t> expected = ReadInteger(value);
    if (text != value || DoesNodeExist(handle, node.c_str()) != 1 ||
        result != (expected ? INI_RESULT_OK : INI_RESULT_NOT_AN_INTEGER) ||
        number != expected.value_or(kDefault))
    {
        Fail("a key reads back other than the file holds it");
    }
}

void CheckSection(std::int32_t handle, const IniSettings::IniSection& section,
                  std::int32_t firstSize)
{
    const char* path = section.path.c_str();
    std::int32_t keys = -1;
    std::int32_t items = -1;
    if (GetKeyCount(handle, path, &keys) != INI_RESULT_OK ||
        keys != static_cast<std::int32_t>(section.entries.size()) ||
        GetArrayCount(handle, path, &items) != INI_RESULT_OK)
    {
        Fail("a section's counts are wrong");
    }
    std::int32_t expectedItems = 0;
    for (std::int32_t k = 0; k < keys; ++k)
    {
        const IniSettings::IniEntry& entry = section.entries[static_cast<std::size_t>(k)];
        const auto name =
            ReadText(firstSize, [&](char* buffer, std::int32_t size, std::int32_t& needed)
                     { return GetKeyNameAt(handle, path, k, buffer, size, &needed); });
        if (name != entry.key)
        {
            Fail("a key name reads back other than the file holds it");
        }
        CheckKey(handle, section.path.empty() ? entry.key : section.path + "/" + entry.key,
                 entry.value, firstSize);
        if (const std::optional<std::int32_t> number = ReadItemNumber(entry.key))
        {
            expectedItems = std::max(expectedItems, *number + 1);
        }
    }
    if (items != expectedItems)
    {
        Fail("an array's count is wrong");
    }
    for (std::int32_t i = 0; i < std::min(items, kMostItemsRead); ++i)
    {
        const auto found = std::find_if(section.entries.begin(), section.entries.end(),
                                        [&](const IniSettings::IniEntry& entry)
                                        { return entry.key == std::to_string(i); });
        const auto item =
            ReadText(firstSize, [&](char* buffer, std::int32_t size, std::int32_t& needed)
                     { return GetArrayItemAt(handle, path, i, buffer, size, &needed); });
        if (item != (found == section.entries.end() ? std::string() : found->value))
        {
            Fail("an array item reads back other than the file holds it");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    const ScratchFolder scratch;
    const fs::path& folder = scratch.GetPath();
    const fs::path file = folder / "settings.ini";
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::ofstream(file, std::ios::binary) << text;
    if (data[0] == kPastTheLimit)
    {
        fs::resize_file(file, INI_MAX_FILE_BYTES + 1);
    }
    const std::uintmax_t fileSize = fs::file_size(file);

    std::int32_t handle = 0;
    if (OpenIniFile(file.c_str(), "1_0_0", "Fuzz", &handle) != INI_RESULT_OK || handle <= 0)
    {
        Fail("a readable file does not open");
    }
    IniSettings::IniDocument document;
    IniSettings::IniParseError error;
    const std::int32_t firstSize = data[0] & 0x0F;
    if (data[0] != kPastTheLimit && IniSettings::IniFormat::Parse(text, document, error))
    {
        if (fs::exists(folder / "settings.ini.damaged"))
        {
            Fail("a sound file was set aside");
        }
        for (const IniSettings::IniSection& section : document.GetSections())
        {
            CheckSection(handle, section, firstSize);
        }
    }
    else
    {
        std::int32_t keys = -1;
        const fs::path aside = folder / "settings.ini.damaged";
        if (fs::exists(file) || !fs::exists(aside) || fs::file_size(aside) != fileSize ||
            GetKeyCount(handle, "", &keys) != INI_RESULT_OK || keys != 0)
        {
            Fail("a damaged file is not set aside whole, or the settings do not open empty");
        }
    }
    if (CloseIniFile(handle, 0) != INI_RESULT_OK)
    {
        Fail("the handle does not close");
    }
    return 0;
}
