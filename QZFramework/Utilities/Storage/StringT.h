// The program's text strings.
//
// StringT<char16_t,char> holds UTF-16 text, StringT<char,char16_t> its 8-bit (UTF-8) twin; the
// second argument names the type the string converts to. The text lives in a shareable buffer
// that copies of a string share (copy-on-write), always followed by one NUL unit. Between Lock
// and Unlock the buffer belongs to the locking string alone (it is marked unshareable, so any
// copy taken meanwhile gets its own text) and may be larger than the text, which then ends at its
// first NUL. Empty strings share one static empty buffer per unit type.
//
// A string is not synchronised: one thread at a time may change a given string object; strings
// sharing a buffer may live on different threads.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/LIBuffer.h"

#include <cstdint>
#include <type_traits>

namespace QZ
{

// Both conversions take a source and its length in units (negative: up to and including the
// NUL), put a new NUL-terminated buffer into the out pointer and return S_OK, or E_FAIL when the
// text was ill-formed; the buffer then holds the text converted before the first bad sequence.
QZRESULT ConvertUTF16ToUTF8(const char16_t* source, std::int32_t length, RCPtr<LIBuffer>& out);
QZRESULT ConvertUTF8ToUTF16(const char* source, std::int32_t length, RCPtr<LIBuffer>& out);

// The one shared empty text (a single NUL unit) for units of 1 (UTF-8) or 2 (UTF-16) bytes; made
// on first use, it lives until program exit.
const RCPtr<LIBuffer>& GetEmptyTextBuffer(std::size_t unitSize);

template <class CharT, class OtherT>
class StringT;
template <class CharT, class OtherT>
class StringArrayT;

// One argument of StringT::FromFormat, carried by kind so the format's conversions can be checked.
class FormatArg
{
public:
    enum class Kind
    {
        Signed,
        Unsigned,
        Floating,
        WideText,
        NarrowText,
        Pointer
    };

    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    FormatArg(T value) : mKind(Kind::Signed), mSigned(value) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T>, int> = 0>
    FormatArg(T value) : mKind(Kind::Unsigned), mUnsigned(value) {}
    FormatArg(char16_t value) : mKind(Kind::Unsigned), mUnsigned(value) {}
    FormatArg(double value) : mKind(Kind::Floating), mFloating(value) {}
    FormatArg(const char16_t* text) : mKind(Kind::WideText), mWide(text) {}
    FormatArg(const char* text) : mKind(Kind::NarrowText), mNarrow(text) {}
    FormatArg(const StringT<char16_t, char>& text);
    FormatArg(const StringT<char, char16_t>& text);
    FormatArg(const void* pointer) : mKind(Kind::Pointer), mPointer(pointer) {}

    Kind GetKind() const { return mKind; }
    std::int64_t AsSigned() const;
    std::uint64_t AsUnsigned() const;
    double AsFloating() const;
    const char16_t* GetWide() const { return mKind == Kind::WideText ? mWide : nullptr; }
    const char* GetNarrow() const { return mKind == Kind::NarrowText ? mNarrow : nullptr; }
    const void* GetPointer() const { return mKind == Kind::Pointer ? mPointer : nullptr; }

private:
    Kind mKind;
    union
    {
        std::int64_t mSigned;
        std::uint64_t mUnsigned;
        double mFloating;
        const char16_t* mWide;
        const char* mNarrow;
        const void* mPointer;
    };
};

template <class CharT, class OtherT>
class StringT
{
    static_assert(std::is_same_v<CharT, char16_t> || std::is_same_v<CharT, char>,
                  "strings hold UTF-16 or UTF-8 units");

public:
    static constexpr std::int32_t kMaxLength = 0x7FFFFFFE;
    // Room of the formatting buffer, NUL included; longer results are cut.
    static constexpr std::int32_t kFormatCapacity = 16384;

    StringT();
    StringT(const CharT* text);
    explicit StringT(CharT character);
    // From the other unit type: UTF-8 to UTF-16 or back. Ill-formed text keeps its good prefix.
    StringT(const OtherT* text);
    StringT(const StringT<OtherT, CharT>& other);
    StringT(const StringT& other);
    StringT(StringT&& other) noexcept;
    virtual ~StringT();

    StringT& operator=(const StringT& other);
    StringT& operator=(StringT&& other) noexcept;
    StringT& operator=(const CharT* text);

    // Takes at most maxLength units of the text; a locked string keeps its buffer and cuts the
    // text to what the buffer holds.
    void Assign(const CharT* text, std::int32_t maxLength = kMaxLength);

    const CharT* GetString() const;
    std::int32_t GetLength() const;
    bool IsEmpty() const { return GetString()[0] == 0; }
    void Clear();

    StringT operator+(const StringT& other) const;
    StringT& operator+=(const StringT& other);
    // The character is taken as UTF-8 text.
    StringT& operator+=(char character);

    // count units from start; a negative start counts from the end; both are clamped.
    StringT Mid(std::int32_t start, std::int32_t count) const;
    StringT Mid(std::int32_t start) const;
    // Inserts before the unit at position; E_INVALIDARG without change past the end.
    QZRESULT Insert(std::int32_t position, const StringT& text);
    QZRESULT Insert(std::int32_t position, const OtherT* text);
    void ReplaceChars(const CharT* set, CharT replacement);
    // Index of the last unit equal to the character; -1 when there is none.
    std::int32_t ReverseFind(CharT character) const;
    // The pieces between any of the separator units: a leading or doubled separator gives an
    // empty piece, a trailing one none, and a text without separators (the empty text included)
    // is one piece. A positive maxPieces stops splitting there, the last piece keeping the rest.
    StringArrayT<CharT, OtherT> Split(const CharT* separators, std::int32_t maxPieces = -1) const;

    // Full Unicode case mapping of every unit of the Basic Multilingual Plane.
    StringT ToUpper() const;
    StringT ToLower() const;
    StringT<OtherT, CharT> ToNarrowString() const;

    // A writable pointer with room for n units (0: length + 1), the last of them NUL; null when
    // already locked. Other owners of a shared buffer keep their text.
    CharT* Lock(std::int32_t units = 0);
    // S_FALSE when not locked; otherwise trims the buffer to the text and shares it again.
    QZRESULT Unlock();
    bool IsLocked() const { return mBuffer && !mBuffer->IsShareable(); }

    bool operator==(const CharT* text) const;
    bool operator==(const StringT& other) const;
    bool operator<(const StringT& other) const;
    // Ignoring case by the same mapping as ToLower.
    bool EqualsNoCase(const StringT& other) const;

    static StringT FromInt(std::int32_t value, std::int32_t decimals = 0);
    static StringT FromUInt(std::uint32_t value, std::int32_t decimals = 0);
    static StringT FromDouble(double value, std::int32_t precision = -1);

    // printf-style formatting: %d %i %u %x %X %o %c %s %f %F %e %E %g %G %p %%, with flags, width
    // and precision (also "*"); length modifiers are accepted and ignored since arguments carry
    // their own type. %s takes wide or narrow text.
    template <class... Args>
    static StringT FromFormat(const CharT* format, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        return FormatList(format, list, sizeof...(Args));
    }
    template <class... Args>
    StringT& Format(const CharT* format, const Args&... args)
    {
        return *this = FromFormat(format, args...);
    }
    static StringT FormatList(const CharT* format, const FormatArg* args, std::size_t count);

    // The shared buffer itself, for identity tests (two strings sharing one text).
    const LIBuffer* GetBuffer() const { return mBuffer.Get(); }

private:
    static RCPtr<LIBuffer> MakeBuffer(const CharT* text, std::int32_t length);
    void ShareOrCopy(const StringT& other);
    std::int32_t LockedCapacity() const;

    RCPtr<LIBuffer> mBuffer;
};

extern template class StringT<char16_t, char>;
extern template class StringT<char, char16_t>;

using WideString = StringT<char16_t, char>;
using NarrowString = StringT<char, char16_t>;

// File names are bytes, and not every name is UTF-8 (an old archive or a Latin-1 file system
// gives "caf\xE9"). The UTF-16 form of a name decodes each well-formed UTF-8 sequence and carries
// every other byte b as the lone surrogate U+DC00 + b (U+DC80 to U+DCFF), so that a name read
// from the disk goes back to it byte for byte. A text that no name decodes to (any other lone
// surrogate, or carried bytes that would read back as different text) has no file name: false,
// with name emptied, so that no caller ever opens a file other than the one it was given.
[[nodiscard]] WideString FileNameToWideString(const char* name);
[[nodiscard]] bool WideStringToFileName(const WideString& text, NarrowString& name);

} // namespace QZ
