// Feeds arbitrary bytes to the settings file parser. Whatever it accepts must format to a text
// that parses back to the same document and formats to the same text again.
#include "Platform/Settings/IniFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using IniSettings::IniDocument;
using IniSettings::IniFormat;
using IniSettings::IniParseError;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniDocument document;
    IniParseError error;
    if (!IniFormat::Parse(text, document, error))
    {
        return 0;
    }
    const std::string formatted = IniFormat::Format(document, "fuzz, version 1_0_0");
    IniDocument again;
    if (!IniFormat::Parse(formatted, again, error) || !(again == document) ||
        IniFormat::Format(again, "fuzz, version 1_0_0") != formatted)
    {
        std::abort();
    }
    return 0;
}
