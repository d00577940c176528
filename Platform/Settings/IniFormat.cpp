#include "Platform/Settings/IniFormat.h"

#include "Platform/Settings/IniFileManagerLibrary.h"
#include "Platform/Settings/IniText.h"

#include <optional>
#include <unordered_set>

namespace IniSettings
{
namespace
{

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

// The byte an escape sequence after a backslash stands for, advancing past it; none when bad.
std::optional<char> ReadEscape(std::string_view text, std::size_t& i)
{
    switch (text[i++])
    {
    case '\\':
        return '\\';
    case '"':
        return '"';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'x':
    {
        if (i + 2 > text.size())
        {
            return std::nullopt;
        }
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        i += 2;
        if (high < 0 || low < 0 || (high == 0 && low == 0))
        {
            return std::nullopt;
        }
        return static_cast<char>(high * 16 + low);
    }
    default:
        return std::nullopt;
    }
}

// A quoted value (text begins with the double quote and has no trailing blanks).
std::optional<std::string> Unquote(std::string_view text)
{
    std::string value;
    std::size_t i = 1;
    while (i < text.size())
    {
        const char c = text[i++];
        if (c == '"')
        {
            return i == text.size() ? std::optional<std::string>(value) : std::nullopt;
        }
        if (c != '\\')
        {
            value += c;
            continue;
        }
        if (i == text.size())
        {
            return std::nullopt;
        }
        const std::optional<char> escaped = ReadEscape(text, i);
        if (!escaped)
        {
            return std::nullopt;
        }
        value += *escaped;
    }
    return std::nullopt;
}

bool NeedsQuotes(std::string_view value)
{
    if (value.empty())
    {
        return false;
    }
    if (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"')
    {
        return true;
    }
    for (const char c : value)
    {
        if (IsControl(c))
        {
            return true;
        }
    }
    return false;
}

void AppendQuoted(std::string& out, std::string_view value)
{
    out += '"';
    for (const char c : value)
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (IsControl(c))
            {
                out += "\\x";
                out += kHexDigits[(static_cast<unsigned char>(c) >> 4) & 0xF];
                out += kHexDigits[static_cast<unsigned char>(c) & 0xF];
            }
            else
            {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendEntries(std::string& out, const IniSection& section)
{
    for (const IniEntry& entry : section.entries)
    {
        out += entry.key;
        out += '=';
        if (NeedsQuotes(entry.value))
        {
            AppendQuoted(out, entry.value);
        }
        else
        {
            out += entry.value;
        }
        out += '\n';
    }
}

// Reads the text line by line into the document, keeping track of the current section.
class Parser
{
public:
    Parser(IniDocument& document, IniParseError& error) : mDocument(document), mError(error) {}

    bool Run(std::string_view text)
    {
        if (text.size() > INI_MAX_FILE_BYTES)
        {
            return Fail("the file is larger than 16 MiB");
        }
        if (text.starts_with(kByteOrderMark))
        {
            text.remove_prefix(kByteOrderMark.size());
        }
        while (!text.empty())
        {
            ++mError.line;
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (line.ends_with('\r'))
            {
                line.remove_suffix(1);
            }
            if (!ReadLine(line))
            {
                return false;
            }
        }
        mError.line = 0;
        return true;
    }

private:
    bool ReadLine(std::string_view line)
    {
        if (line.find('\0') != std::string_view::npos)
        {
            return Fail("NUL byte");
        }
        if (!IsValidUtf8(line))
        {
            return Fail("text is not UTF-8");
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
        {
            return true;
        }
        if (line.front() == '[')
        {
            return ReadSectionHeader(line);
        }
        return ReadEntry(line);
    }

    bool ReadSectionHeader(std::string_view line)
    {
        if (line.size() < 2 || !line.ends_with(']'))
        {
            return Fail("section header without \"]\"");
        }
        const std::string_view path = line.substr(1, line.size() - 2);
        if (path.empty() || !IsValidNodePath(path) || path.size() > INI_MAX_TEXT_BYTES)
        {
            return Fail("bad section path");
        }
        mSection = &mDocument.GetOrAddSection(path);
        return true;
    }

    bool ReadEntry(std::string_view line)
    {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
        {
            return Fail("neither a section, a key nor a comment");
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (!IsValidName(key) || key.size() > INI_MAX_TEXT_BYTES)
        {
            return Fail("bad key name");
        }
        const std::string_view raw = TrimBlanks(line.substr(equals + 1));
        std::optional<std::string> value(raw);
        if (raw.starts_with('"'))
        {
            value = Unquote(raw);
            if (!value || !IsValidUtf8(*value))
            {
                return Fail("bad quoted value");
            }
        }
        if (value->size() > INI_MAX_TEXT_BYTES)
        {
            return Fail("value longer than 1 MiB");
        }
        if (mSection == nullptr)
        {
            mSection = &mDocument.GetOrAddSection("");
        }
        if (!mSeen.insert(mSection->path + '\n' + std::string(key)).second)
        {
            return Fail("key appears twice in its section");
        }
        mSection->entries.push_back(IniEntry{std::string(key), std::move(*value)});
        return true;
    }

    bool Fail(const char* reason)
    {
        mError.reason = reason;
        return false;
    }

    IniDocument& mDocument;
    IniParseError& mError;
    IniSection* mSection = nullptr;
    // Section path and key, joined by a line break (which no name holds).
    std::unordered_set<std::string> mSeen;
};

} // namespace

bool IniFormat::Parse(std::string_view text, IniDocument& document, IniParseError& error)
{
    error = IniParseError();
    return Parser(document, error).Run(text);
}

std::string IniFormat::Format(const IniDocument& document, std::string_view title)
{
    std::string out;
    if (!title.empty())
    {
        out += "; ";
        out += title;
        out += '\n';
    }
    for (const IniSection& section : document.GetSections())
    {
        if (!section.path.empty())
        {
            if (!out.empty())
            {
                out += '\n';
            }
            out += '[';
            out += section.path;
            out += "]\n";
        }
        AppendEntries(out, section);
    }
    return out;
}

} // namespace IniSettings
