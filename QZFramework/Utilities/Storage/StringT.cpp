#include "QZFramework/Utilities/Storage/StringT.h"

#include "QZFramework/Utilities/Storage/LBufferT.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <string>

namespace QZ
{
namespace
{

template <class CharT>
std::int32_t MeasureText(const CharT* text, std::int32_t limit)
{
    std::int32_t length = 0;
    while (length < limit && text[length] != 0)
    {
        ++length;
    }
    return length;
}

// The process's case mapping follows the C.UTF-8 locale whatever the user's locale is, so that
// every unit of the Basic Multilingual Plane maps, not only ASCII.
locale_t CaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

char16_t MapCase(char16_t unit, bool upper)
{
    if (unit >= 0xD800 && unit <= 0xDFFF)
    {
        return unit;
    }
    const locale_t locale = CaseLocale();
    const wint_t mapped = locale != locale_t(nullptr)
                              ? (upper ? towupper_l(unit, locale) : towlower_l(unit, locale))
                              : (upper ? towupper(unit) : towlower(unit));
    // A mapping that leaves the plane (none does today) keeps the unit as it was.
    return mapped <= 0xFFFF ? static_cast<char16_t>(mapped) : unit;
}

template <class CharT>
CharT MapUnit(CharT unit, bool upper)
{
    if constexpr (std::is_same_v<CharT, char16_t>)
    {
        return MapCase(unit, upper);
    }
    else
    {
        // UTF-8 bytes above ASCII are parts of sequences, never letters by themselves.
        const auto byte = static_cast<unsigned char>(unit);
        if (byte >= 0x80)
        {
            return unit;
        }
        return static_cast<CharT>(upper ? std::toupper(byte) : std::tolower(byte));
    }
}

} // namespace

const RCPtr<LIBuffer>& GetEmptyTextBuffer(std::size_t unitSize)
{
    static const RCPtr<LIBuffer> narrow = CreateBuffer(1, 0, true);
    static const RCPtr<LIBuffer> wide = CreateBuffer(2, 0, true);
    return unitSize == 1 ? narrow : wide;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT() : mBuffer(GetEmptyTextBuffer(sizeof(CharT)))
{
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(const CharT* text) : StringT()
{
    Assign(text);
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(CharT character)
{
    const CharT text[] = {character, 0};
    mBuffer = MakeBuffer(text, character == 0 ? 0 : 1);
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(const OtherT* text)
{
    if constexpr (std::is_same_v<CharT, char16_t>)
    {
        static_cast<void>(ConvertUTF8ToUTF16(text, -1, mBuffer));
    }
    else
    {
        static_cast<void>(ConvertUTF16ToUTF8(text, -1, mBuffer));
    }
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(const StringT<OtherT, CharT>& other) : StringT(other.GetString())
{
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(const StringT& other)
{
    ShareOrCopy(other);
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::StringT(StringT&& other) noexcept : mBuffer(std::move(other.mBuffer))
{
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>::~StringT() = default;

template <class CharT, class OtherT>
StringT<CharT, OtherT>& StringT<CharT, OtherT>::operator=(const StringT& other)
{
    if (this == &other)
    {
        return *this;
    }
    if (IsLocked())
    {
        Assign(other.GetString(), other.GetLength());
    }
    else
    {
        ShareOrCopy(other);
    }
    return *this;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>& StringT<CharT, OtherT>::operator=(StringT&& other) noexcept
{
    if (this != &other && !IsLocked())
    {
        mBuffer = std::move(other.mBuffer);
    }
    else if (this != &other)
    {
        Assign(other.GetString(), other.GetLength());
    }
    return *this;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>& StringT<CharT, OtherT>::operator=(const CharT* text)
{
    Assign(text);
    return *this;
}

template <class CharT, class OtherT>
void StringT<CharT, OtherT>::ShareOrCopy(const StringT& other)
{
    if (other.IsLocked())
    {
        mBuffer = MakeBuffer(other.GetString(), other.GetLength());
    }
    else
    {
        mBuffer = other.mBuffer ? other.mBuffer : GetEmptyTextBuffer(sizeof(CharT));
    }
}

template <class CharT, class OtherT>
RCPtr<LIBuffer> StringT<CharT, OtherT>::MakeBuffer(const CharT* text, std::int32_t length)
{
    if (length <= 0)
    {
        return GetEmptyTextBuffer(sizeof(CharT));
    }
    RCPtr<LIBuffer> buffer =
        CreateBuffer((static_cast<std::uint32_t>(length) + 1) * sizeof(CharT), 0, true);
    std::memcpy(buffer->GetData(), text, static_cast<std::size_t>(length) * sizeof(CharT));
    return buffer;
}

template <class CharT, class OtherT>
std::int32_t StringT<CharT, OtherT>::LockedCapacity() const
{
    return static_cast<std::int32_t>(mBuffer->GetSize() / sizeof(CharT));
}

template <class CharT, class OtherT>
void StringT<CharT, OtherT>::Assign(const CharT* text, std::int32_t maxLength)
{
    const std::int32_t length =
        (text != nullptr && maxLength > 0) ? MeasureText(text, maxLength) : 0;
    if (!IsLocked())
    {
        mBuffer = MakeBuffer(text, length);
        return;
    }
    auto* units = static_cast<CharT*>(mBuffer->GetData());
    const std::int32_t kept = std::min(length, LockedCapacity() - 1);
    if (kept > 0)
    {
        std::memmove(units, text, static_cast<std::size_t>(kept) * sizeof(CharT));
    }
    if (kept >= 0)
    {
        units[kept] = 0;
    }
}

template <class CharT, class OtherT>
const CharT* StringT<CharT, OtherT>::GetString() const
{
    static const CharT empty[1] = {0};
    return mBuffer ? static_cast<const CharT*>(mBuffer->GetData()) : empty;
}

template <class CharT, class OtherT>
std::int32_t StringT<CharT, OtherT>::GetLength() const
{
    if (!mBuffer)
    {
        return 0;
    }
    if (IsLocked())
    {
        return MeasureText(GetString(), LockedCapacity());
    }
    return static_cast<std::int32_t>(mBuffer->GetSize() / sizeof(CharT)) - 1;
}

template <class CharT, class OtherT>
void StringT<CharT, OtherT>::Clear()
{
    if (IsLocked())
    {
        static_cast<CharT*>(mBuffer->GetData())[0] = 0;
    }
    else
    {
        mBuffer = GetEmptyTextBuffer(sizeof(CharT));
    }
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::operator+(const StringT& other) const
{
    StringT result(*this);
    result += other;
    return result;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>& StringT<CharT, OtherT>::operator+=(const StringT& other)
{
    const std::int32_t added = other.GetLength();
    if (added == 0)
    {
        return *this;
    }
    // Held apart first: the other may be this very string.
    const StringT tail(other);
    const std::int32_t length = GetLength();
    const bool wasLocked = IsLocked();
    if (wasLocked)
    {
        mBuffer->Resize((static_cast<std::uint32_t>(length) + added + 1) * sizeof(CharT));
    }
    else
    {
        Lock(length + added + 1);
    }
    auto* units = static_cast<CharT*>(mBuffer->GetData());
    std::memcpy(units + length, tail.GetString(), static_cast<std::size_t>(added) * sizeof(CharT));
    units[length + added] = 0;
    if (!wasLocked)
    {
        static_cast<void>(Unlock());
    }
    return *this;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT>& StringT<CharT, OtherT>::operator+=(char character)
{
    const char text[] = {character, 0};
    return *this += StringT(text);
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::Mid(std::int32_t start, std::int32_t count) const
{
    const std::int32_t length = GetLength();
    if (start < 0)
    {
        start = std::max(0, length + start);
    }
    if (start >= length || count <= 0)
    {
        return StringT();
    }
    count = std::min(count, length - start);
    StringT result;
    result.mBuffer = MakeBuffer(GetString() + start, count);
    return result;
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::Mid(std::int32_t start) const
{
    return Mid(start, kMaxLength);
}

template <class CharT, class OtherT>
QZRESULT StringT<CharT, OtherT>::Insert(std::int32_t position, const StringT& text)
{
    const std::int32_t length = GetLength();
    if (position < 0 || position > length)
    {
        return E_INVALIDARG;
    }
    StringT result = Mid(0, position);
    result += text;
    result += Mid(position);
    *this = result;
    return S_OK;
}

template <class CharT, class OtherT>
QZRESULT StringT<CharT, OtherT>::Insert(std::int32_t position, const OtherT* text)
{
    return Insert(position, StringT(text));
}

template <class CharT, class OtherT>
void StringT<CharT, OtherT>::ReplaceChars(const CharT* set, CharT replacement)
{
    if (replacement == 0 || set == nullptr || set[0] == 0)
    {
        return;
    }
    std::basic_string<CharT> text(GetString(), static_cast<std::size_t>(GetLength()));
    bool changed = false;
    for (CharT& unit : text)
    {
        for (const CharT* candidate = set; *candidate != 0; ++candidate)
        {
            if (unit == *candidate)
            {
                unit = replacement;
                changed = true;
                break;
            }
        }
    }
    if (changed)
    {
        Assign(text.c_str(), static_cast<std::int32_t>(text.size()));
    }
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::ToUpper() const
{
    std::basic_string<CharT> text(GetString(), static_cast<std::size_t>(GetLength()));
    for (CharT& unit : text)
    {
        unit = MapUnit(unit, true);
    }
    return StringT(text.c_str());
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::ToLower() const
{
    std::basic_string<CharT> text(GetString(), static_cast<std::size_t>(GetLength()));
    for (CharT& unit : text)
    {
        unit = MapUnit(unit, false);
    }
    return StringT(text.c_str());
}

template <class CharT, class OtherT>
StringT<OtherT, CharT> StringT<CharT, OtherT>::ToNarrowString() const
{
    return StringT<OtherT, CharT>(GetString());
}

template <class CharT, class OtherT>
CharT* StringT<CharT, OtherT>::Lock(std::int32_t units)
{
    if (IsLocked())
    {
        return nullptr;
    }
    if (units <= 0)
    {
        units = GetLength() + 1;
    }
    const auto bytes = static_cast<std::uint32_t>(units) * sizeof(CharT);
    if (!mBuffer)
    {
        mBuffer = CreateBuffer(bytes, 0, true);
    }
    else if (mBuffer->GetRefCount() > 1)
    {
        RCPtr<LIBuffer> copy;
        mBuffer->CreateSizedCopy(copy, bytes, 0);
        if (!copy)
        {
            QZ_THROW_RUNTIME("QZ::StringT<wchar_t,char>::Lock");
        }
        mBuffer = std::move(copy);
    }
    const std::uint32_t oldSize = mBuffer->GetSize();
    mBuffer->SetUnshareable(true);
    mBuffer->Resize(bytes);
    if (bytes > oldSize)
    {
        mBuffer->FillUInt8(0, oldSize, static_cast<std::int32_t>(bytes - oldSize));
    }
    auto* data = static_cast<CharT*>(mBuffer->GetData());
    data[units - 1] = 0;
    return data;
}

template <class CharT, class OtherT>
QZRESULT StringT<CharT, OtherT>::Unlock()
{
    if (!IsLocked())
    {
        return S_FALSE;
    }
    const std::int32_t length = GetLength();
    if (length == 0)
    {
        mBuffer = GetEmptyTextBuffer(sizeof(CharT));
        return S_OK;
    }
    mBuffer->SetUnshareable(false);
    mBuffer->Resize((static_cast<std::uint32_t>(length) + 1) * sizeof(CharT));
    return S_OK;
}

template <class CharT, class OtherT>
bool StringT<CharT, OtherT>::operator==(const CharT* text) const
{
    const CharT* own = GetString();
    if (text == nullptr)
    {
        return own[0] == 0;
    }
    std::int32_t i = 0;
    while (own[i] != 0 && own[i] == text[i])
    {
        ++i;
    }
    return own[i] == text[i];
}

template <class CharT, class OtherT>
bool StringT<CharT, OtherT>::operator==(const StringT& other) const
{
    if (mBuffer && mBuffer == other.mBuffer)
    {
        return true;
    }
    return *this == other.GetString();
}

template <class CharT, class OtherT>
bool StringT<CharT, OtherT>::operator<(const StringT& other) const
{
    if (mBuffer && mBuffer == other.mBuffer)
    {
        return false;
    }
    using Unsigned = std::make_unsigned_t<CharT>;
    const CharT* a = GetString();
    const CharT* b = other.GetString();
    std::int32_t i = 0;
    while (a[i] != 0 && a[i] == b[i])
    {
        ++i;
    }
    return static_cast<Unsigned>(a[i]) < static_cast<Unsigned>(b[i]);
}

template <class CharT, class OtherT>
bool StringT<CharT, OtherT>::EqualsNoCase(const StringT& other) const
{
    const CharT* a = GetString();
    const CharT* b = other.GetString();
    std::int32_t i = 0;
    while (a[i] != 0 && MapUnit(a[i], false) == MapUnit(b[i], false))
    {
        ++i;
    }
    return MapUnit(a[i], false) == MapUnit(b[i], false);
}

namespace
{

// Puts a "." before the last decimals digits, padding with zeros so there are that many; the
// minus sign of a negative value stays in front of the point.
std::string PlaceDecimalPoint(std::string digits, std::int32_t decimals)
{
    if (decimals <= 0)
    {
        return digits;
    }
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
    {
        digits.erase(0, 1);
    }
    if (static_cast<std::int32_t>(digits.size()) < decimals)
    {
        digits.insert(0, static_cast<std::size_t>(decimals) - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return negative ? "-" + digits : digits;
}

} // namespace

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::FromInt(std::int32_t value, std::int32_t decimals)
{
    const std::string text = PlaceDecimalPoint(std::to_string(value), decimals);
    return StringT(text.c_str());
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::FromUInt(std::uint32_t value, std::int32_t decimals)
{
    const std::string text = PlaceDecimalPoint(std::to_string(value), decimals);
    return StringT(text.c_str());
}

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::FromDouble(double value, std::int32_t precision)
{
    char text[512];
    if (precision >= 0)
    {
        std::snprintf(text, sizeof text, "%.*f", std::min(precision, 100), value);
    }
    else
    {
        std::snprintf(text, sizeof text, "%f", value);
    }
    return StringT(static_cast<const char*>(text));
}

template class StringT<char16_t, char>;
template class StringT<char, char16_t>;

} // namespace QZ
