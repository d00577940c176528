#include "QZFramework/Utilities/Storage/StringArrayT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <algorithm>

namespace QZ
{
namespace
{

template <class CharT> bool IsSeparator(CharT unit, const CharT* separators)
{
    for (const CharT* s = separators; *s != 0; ++s)
    {
        if (*s == unit)
        {
            return true;
        }
    }
    return false;
}

} // namespace

template <class CharT, class OtherT>
std::int32_t StringT<CharT, OtherT>::ReverseFind(CharT character) const
{
    const CharT* text = GetString();
    for (std::int32_t i = GetLength() - 1; i >= 0; --i)
    {
        if (text[i] == character)
        {
            return i;
        }
    }
    return -1;
}

template <class CharT, class OtherT>
StringArrayT<CharT, OtherT> StringT<CharT, OtherT>::Split(const CharT* separators,
                                                          std::int32_t maxPieces) const
{
    StringArrayT<CharT, OtherT> pieces;
    const CharT* text = GetString();
    const std::int32_t length = GetLength();
    if (separators == nullptr || separators[0] == 0 ||
        std::none_of(text, text + length,
                     [separators](CharT c) { return IsSeparator(c, separators); }))
    {
        pieces.Add(*this);
        return pieces;
    }
    std::int32_t start = 0;
    while (start < length)
    {
        if (maxPieces > 0 && pieces.GetCount() == maxPieces - 1)
        {
            pieces.Add(Mid(start));
            break;
        }
        std::int32_t end = start;
        while (end < length && !IsSeparator(text[end], separators))
        {
            ++end;
        }
        pieces.Add(Mid(start, end - start));
        start = end + 1;
    }
    return pieces;
}

template std::int32_t StringT<char16_t, char>::ReverseFind(char16_t) const;
template std::int32_t StringT<char, char16_t>::ReverseFind(char) const;
template StringArrayT<char16_t, char> StringT<char16_t, char>::Split(const char16_t*,
                                                                     std::int32_t) const;
template StringArrayT<char, char16_t> StringT<char, char16_t>::Split(const char*,
                                                                     std::int32_t) const;

} // namespace QZ
