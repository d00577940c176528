// Reading and writing the settings file's text (format described in IniFileManagerLibrary.h).
#pragma once

#include "Platform/Settings/IniDocument.h"

#include <string>
#include <string_view>

namespace IniSettings
{

struct IniParseError
{
    // Line of the fault, from 1; 0 for a fault of the whole file.
    int line = 0;
    std::string reason;
};

class IniFormat
{
public:
    // Fills a fresh document from the text; false with the fault when the text is damaged (the
    // document is then left in an unspecified state).
    [[nodiscard]] static bool Parse(std::string_view text, IniDocument& document,
                                    IniParseError& error);
    // The text of the document; title, when not empty, becomes the first comment line and must be
    // one line of UTF-8.
    [[nodiscard]] static std::string Format(const IniDocument& document, std::string_view title);
};

} // namespace IniSettings
