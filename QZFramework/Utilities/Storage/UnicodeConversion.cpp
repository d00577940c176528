// UTF-16 <-> UTF-8 conversion with the legality rules of the Unicode Standard's well-formed
// UTF-8 table, lenient about lone surrogates on the UTF-16 side; and the lossless conversion of
// file names, which carries the bytes that are not UTF-8.
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstring>
#include <string>

namespace QZ
{
namespace
{

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

template <class Unit> std::int32_t MeasureWithNul(const Unit* source)
{
    std::int32_t length = 0;
    while (source[length] != 0)
    {
        ++length;
    }
    return length + 1;
}

std::int32_t EncodeUTF8(char32_t codePoint, unsigned char* out)
{
    if (codePoint > kMaxCodePoint)
    {
        codePoint = kReplacement;
    }
    if (codePoint < 0x80)
    {
        out[0] = static_cast<unsigned char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800)
    {
        out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000)
    {
        out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 4;
}

std::int32_t TrailingBytes(unsigned char first)
{
    if (first < 0xC0)
    {
        return 0;
    }
    if (first < 0xE0)
    {
        return 1;
    }
    if (first < 0xF0)
    {
        return 2;
    }
    if (first < 0xF8)
    {
        return 3;
    }
    return first < 0xFC ? 4 : 5;
}

bool IsLegalUTF8(const unsigned char* sequence, std::int32_t length)
{
    if (length < 1 || length > 4)
    {
        return false;
    }
    for (std::int32_t i = 1; i < length; ++i)
    {
        if (sequence[i] < 0x80 || sequence[i] > 0xBF)
        {
            return false;
        }
    }
    const unsigned char first = sequence[0];
    if ((first >= 0x80 && first <= 0xC1) || first > 0xF4)
    {
        return false;
    }
    if (length > 1)
    {
        const unsigned char second = sequence[1];
        if ((first == 0xE0 && second < 0xA0) || (first == 0xED && second > 0x9F) ||
            (first == 0xF0 && second < 0x90) || (first == 0xF4 && second > 0x8F))
        {
            return false;
        }
    }
    return true;
}

char32_t DecodeUTF8(const unsigned char* sequence, std::int32_t length)
{
    static constexpr unsigned char kFirstMask[] = {0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = sequence[0] & kFirstMask[length - 1];
    for (std::int32_t i = 1; i < length; ++i)
    {
        value = (value << 6) | (sequence[i] & 0x3F);
    }
    return value;
}

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Writes a decoded code point as one or two units; a surrogate value (never decoded from legal
// input) becomes U+FFFD.
std::int32_t EncodeUTF16(char32_t codePoint, char16_t* out)
{
    if (codePoint <= 0xFFFF)
    {
        out[0] = IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)
                     ? static_cast<char16_t>(kReplacement)
                     : static_cast<char16_t>(codePoint);
        return 1;
    }
    codePoint -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    return 2;
}

// The lone surrogates that carry the bytes of a file name that are not UTF-8.
constexpr char16_t kCarriedByteBase = 0xDC00;
constexpr char16_t kFirstCarriedByte = 0xDC80;
constexpr char16_t kLastCarriedByte = 0xDCFF;

} // namespace

QZRESULT ConvertUTF16ToUTF8(const char16_t* source, std::int32_t length, RCPtr<LIBuffer>& out)
{
    if (source != nullptr && length < 0)
    {
        length = MeasureWithNul(source);
    }
    if (source == nullptr || length == 0 || (length == 1 && source[0] == 0))
    {
        out = GetEmptyTextBuffer(1);
        return S_OK;
    }
    RCPtr<LIBuffer> buffer = CreateBuffer(static_cast<std::uint32_t>(length) * 4 + 1, 0, true);
    auto* target = static_cast<unsigned char*>(buffer->GetData());
    std::int32_t written = 0;
    QZRESULT result = S_OK;
    for (std::int32_t i = 0; i < length; ++i)
    {
        char32_t codePoint = source[i];
        if (IsHighSurrogate(codePoint))
        {
            if (i + 1 == length)
            {
                result = E_FAIL;
                break;
            }
            if (IsLowSurrogate(source[i + 1]))
            {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (source[i + 1] - 0xDC00);
                ++i;
            }
        }
        written += EncodeUTF8(codePoint, target + written);
    }
    // Text length + 1: a NUL from the source is kept as the text's end anyway.
    std::int32_t textLength =
        static_cast<std::int32_t>(std::strlen(reinterpret_cast<char*>(target)));
    buffer->Resize(static_cast<std::uint32_t>(textLength) + 1);
    out = std::move(buffer);
    return result;
}

QZRESULT ConvertUTF8ToUTF16(const char* source, std::int32_t length, RCPtr<LIBuffer>& out)
{
    if (source != nullptr && length < 0)
    {
        length = MeasureWithNul(source);
    }
    if (source == nullptr || length == 0 || (length == 1 && source[0] == 0))
    {
        out = GetEmptyTextBuffer(2);
        return S_OK;
    }
    RCPtr<LIBuffer> buffer = CreateBuffer(static_cast<std::uint32_t>(length) * 2 + 2, 0, true);
    auto* target = static_cast<char16_t*>(buffer->GetData());
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    std::int32_t written = 0;
    QZRESULT result = S_OK;
    for (std::int32_t i = 0; i < length;)
    {
        const std::int32_t trailing = TrailingBytes(bytes[i]);
        if (trailing >= length - i || !IsLegalUTF8(bytes + i, trailing + 1))
        {
            result = E_FAIL;
            break;
        }
        written += EncodeUTF16(DecodeUTF8(bytes + i, trailing + 1), target + written);
        i += trailing + 1;
    }
    std::int32_t textLength = 0;
    while (textLength < written && target[textLength] != 0)
    {
        ++textLength;
    }
    buffer->Resize((static_cast<std::uint32_t>(textLength) + 1) * 2);
    out = std::move(buffer);
    return result;
}

WideString FileNameToWideString(const char* name)
{
    std::u16string text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name);
    const std::size_t length = name != nullptr ? std::strlen(name) : 0;
    for (std::size_t i = 0; i < length;)
    {
        const std::int32_t size = TrailingBytes(bytes[i]) + 1;
        if (static_cast<std::size_t>(size) > length - i || !IsLegalUTF8(bytes + i, size))
        {
            text.push_back(static_cast<char16_t>(kCarriedByteBase + bytes[i]));
            ++i;
            continue;
        }
        char16_t units[2];
        text.append(units,
                    static_cast<std::size_t>(EncodeUTF16(DecodeUTF8(bytes + i, size), units)));
        i += static_cast<std::size_t>(size);
    }
    return WideString(text.c_str());
}

bool WideStringToFileName(const WideString& text, NarrowString& name)
{
    std::string bytes;
    const char16_t* units = text.GetString();
    for (std::int32_t i = 0; units[i] != 0; ++i)
    {
        char32_t codePoint = units[i];
        if (codePoint >= kFirstCarriedByte && codePoint <= kLastCarriedByte)
        {
            bytes.push_back(static_cast<char>(codePoint - kCarriedByteBase));
            continue;
        }
        if (IsHighSurrogate(codePoint) && IsLowSurrogate(units[i + 1]))
        {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        else if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint))
        {
            name.Clear();
            return false;
        }
        unsigned char encoded[4];
        bytes.append(reinterpret_cast<const char*>(encoded),
                     static_cast<std::size_t>(EncodeUTF8(codePoint, encoded)));
    }
    // Carried bytes next to each other can spell a UTF-8 sequence that reads back as other text.
    if (!(FileNameToWideString(bytes.c_str()) == text))
    {
        name.Clear();
        return false;
    }
    name = NarrowString(bytes.c_str());
    return true;
}

} // namespace QZ
