#include "Platform/Window/TextConversion.h"

#include "QZFramework/Utilities/Storage/StringT.h"

namespace Platform
{

std::string ToUtf8(std::u16string_view text)
{
    const std::u16string terminated(text);
    const QZ::StringT<char, char16_t> narrow(terminated.c_str());
    return std::string(narrow.GetString(), static_cast<std::size_t>(narrow.GetLength()));
}

std::u16string ToUtf16(const char* text)
{
    const QZ::StringT<char16_t, char> wide(text);
    return std::u16string(wide.GetString(), static_cast<std::size_t>(wide.GetLength()));
}

} // namespace Platform
