// A list of strings with the two searches the program uses on skin names and identifiers.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

template <class CharT, class OtherT>
class StringArrayT : public Array<StringT<CharT, OtherT>>
{
public:
    using StringType = StringT<CharT, OtherT>;

    // The first item that shares the string's buffer or holds equal text (ignoring case when
    // caseSensitive is false); -1 when none.
    std::int32_t Find(const StringType& text, bool caseSensitive = true) const
    {
        for (std::int32_t i = 0; i < this->GetCount(); ++i)
        {
            const StringType& item = this->GetAt(i);
            if (item.GetBuffer() == text.GetBuffer() ||
                (caseSensitive ? item == text : item.EqualsNoCase(text)))
            {
                return i;
            }
        }
        return -1;
    }

    // The last item whose units are at that very address (identity, not text); -1 when none.
    std::int32_t FindBuffer(const CharT* units) const
    {
        for (std::int32_t i = this->GetCount() - 1; i >= 0; --i)
        {
            if (this->GetAt(i).GetString() == units)
            {
                return i;
            }
        }
        return -1;
    }
};

using WideStringArray = StringArrayT<char16_t, char>;

} // namespace QZ
