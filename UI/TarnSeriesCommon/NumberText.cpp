#include "UI/TarnSeriesCommon/NumberText.h"

#include <string_view>

namespace QZ
{

WideString FormatNumberText(const WideString& text, std::uint32_t number)
{
    const std::u16string_view view(text.GetString());
    std::size_t conversions = 0;
    for (std::size_t i = 0; i < view.size(); ++i)
    {
        if (view[i] != u'%')
        {
            continue;
        }
        const char16_t next = i + 1 < view.size() ? view[i + 1] : u'\0';
        if (next == u'd' || next == u'u')
        {
            ++conversions;
        }
        else if (next != u'%')
        {
            return text;
        }
        ++i;
    }
    return conversions == 1 ? WideString::FromFormat(text.GetString(), number) : text;
}

} // namespace QZ
