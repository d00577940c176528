// printf-style formatting of strings. Numbers go through the C library's formatter; texts are
// placed unit by unit, so wide and narrow arguments work with either string type.
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdio>
#include <string>

namespace QZ
{

FormatArg::FormatArg(const StringT<char16_t, char>& text)
    : mKind(Kind::WideText), mWide(text.GetString())
{
}

FormatArg::FormatArg(const StringT<char, char16_t>& text)
    : mKind(Kind::NarrowText), mNarrow(text.GetString())
{
}

std::int64_t FormatArg::AsSigned() const
{
    switch (mKind)
    {
    case Kind::Signed:
        return mSigned;
    case Kind::Unsigned:
        return static_cast<std::int64_t>(mUnsigned);
    case Kind::Floating:
        return static_cast<std::int64_t>(mFloating);
    default:
        return 0;
    }
}

std::uint64_t FormatArg::AsUnsigned() const
{
    return mKind == Kind::Unsigned ? mUnsigned : static_cast<std::uint64_t>(AsSigned());
}

double FormatArg::AsFloating() const
{
    switch (mKind)
    {
    case Kind::Floating:
        return mFloating;
    case Kind::Signed:
        return static_cast<double>(mSigned);
    case Kind::Unsigned:
        return static_cast<double>(mUnsigned);
    default:
        return 0.0;
    }
}

namespace
{

struct FieldFormat
{
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

template <class CharT>
class Formatter
{
public:
    Formatter(const FormatArg* args, std::size_t count) : mArgs(args), mCount(count) {}

    std::basic_string<CharT> Run(const CharT* format)
    {
        for (std::size_t i = 0; format[i] != 0 && !Full();)
        {
            if (format[i] != '%')
            {
                Put(format[i++]);
                continue;
            }
            if (format[i + 1] == '%')
            {
                Put('%');
                i += 2;
                continue;
            }
            FieldFormat field;
            i = ParseField(format, i + 1, field);
            if (field.conversion == 0)
            {
                break;
            }
            Convert(field);
        }
        return mOut;
    }

private:
    static constexpr std::size_t kLimit = StringT<char16_t, char>::kFormatCapacity - 1;

    bool Full() const { return mOut.size() >= kLimit; }

    void Put(CharT unit)
    {
        if (!Full())
        {
            mOut.push_back(unit);
        }
    }

    void PutAscii(const char* text)
    {
        for (; *text != 0; ++text)
        {
            Put(static_cast<CharT>(static_cast<unsigned char>(*text)));
        }
    }

    const FormatArg* Take() { return mNext < mCount ? &mArgs[mNext++] : nullptr; }

    int TakeInt()
    {
        const FormatArg* arg = Take();
        return arg != nullptr ? static_cast<int>(arg->AsSigned()) : 0;
    }

    std::size_t ParseField(const CharT* format, std::size_t i, FieldFormat& field)
    {
        for (; format[i] != 0 && std::string("-+ #0").find(static_cast<char>(format[i])) !=
                                     std::string::npos;
             ++i)
        {
            field.flags.push_back(static_cast<char>(format[i]));
        }
        i = ParseNumber(format, i, field.width);
        if (format[i] == '.')
        {
            field.precision = 0;
            i = ParseNumber(format, i + 1, field.precision);
        }
        while (format[i] != 0 && std::string("hlLqjztI0123456789").find(
                                     static_cast<char>(format[i])) != std::string::npos)
        {
            ++i;
        }
        if (format[i] != 0)
        {
            field.conversion = static_cast<char>(format[i] < 0x80 ? format[i] : '?');
            ++i;
        }
        return i;
    }

    std::size_t ParseNumber(const CharT* format, std::size_t i, int& value)
    {
        if (format[i] == '*')
        {
            value = TakeInt();
            return i + 1;
        }
        if (format[i] >= '0' && format[i] <= '9')
        {
            value = 0;
            for (; format[i] >= '0' && format[i] <= '9'; ++i)
            {
                value = std::min(value * 10 + (format[i] - '0'), kFieldLimit);
            }
        }
        return i;
    }

    std::string NumberFormat(const FieldFormat& field, const char* length) const
    {
        std::string pattern(1, '%');
        pattern += field.flags;
        if (field.width >= 0)
        {
            pattern += std::to_string(field.width);
        }
        if (field.precision >= 0)
        {
            pattern += '.';
            pattern += std::to_string(field.precision);
        }
        pattern += length;
        pattern += field.conversion;
        return pattern;
    }

    template <class Value>
    void PutNumber(const FieldFormat& field, const char* length, Value value)
    {
        char text[kFieldLimit + 400];
        std::snprintf(text, sizeof text, NumberFormat(field, length).c_str(), value);
        PutAscii(text);
    }

    void Convert(const FieldFormat& field)
    {
        const FormatArg* arg = Take();
        if (arg == nullptr)
        {
            return;
        }
        switch (field.conversion)
        {
        case 'd':
        case 'i':
            PutNumber(field, "ll", static_cast<long long>(arg->AsSigned()));
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            PutNumber(field, "ll", static_cast<unsigned long long>(arg->AsUnsigned()));
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            PutNumber(field, "", arg->AsFloating());
            break;
        case 'p':
            PutNumber(field, "", arg->GetPointer());
            break;
        case 'c':
        case 'C':
            PutText(field, std::basic_string<CharT>(1, static_cast<CharT>(arg->AsUnsigned())));
            break;
        case 's':
        case 'S':
            PutText(field, TextOf(*arg));
            break;
        default:
            break;
        }
    }

    static std::basic_string<CharT> TextOf(const FormatArg& arg)
    {
        if (arg.GetWide() != nullptr)
        {
            return StringT<CharT, std::conditional_t<std::is_same_v<CharT, char>, char16_t, char>>(
                       arg.GetWide())
                .GetString();
        }
        if (arg.GetNarrow() != nullptr)
        {
            return StringT<CharT, std::conditional_t<std::is_same_v<CharT, char>, char16_t, char>>(
                       arg.GetNarrow())
                .GetString();
        }
        return {};
    }

    void PutText(const FieldFormat& field, std::basic_string<CharT> text)
    {
        if (field.precision >= 0 && text.size() > static_cast<std::size_t>(field.precision))
        {
            text.resize(static_cast<std::size_t>(field.precision));
        }
        const std::size_t padding =
            field.width > static_cast<int>(text.size()) ? field.width - text.size() : 0;
        const bool left = field.flags.find('-') != std::string::npos;
        if (!left)
        {
            mOut.append(std::min(padding, kLimit - std::min(kLimit, mOut.size())), CharT(' '));
        }
        for (CharT unit : text)
        {
            Put(unit);
        }
        if (left)
        {
            mOut.append(std::min(padding, kLimit - std::min(kLimit, mOut.size())), CharT(' '));
        }
    }

    // Widths and precisions beyond this could not fit the result anyway.
    static constexpr int kFieldLimit = 16384;

    const FormatArg* mArgs;
    std::size_t mCount;
    std::size_t mNext = 0;
    std::basic_string<CharT> mOut;
};

} // namespace

template <class CharT, class OtherT>
StringT<CharT, OtherT> StringT<CharT, OtherT>::FormatList(const CharT* format,
                                                          const FormatArg* args, std::size_t count)
{
    if (format == nullptr)
    {
        return StringT();
    }
    const std::basic_string<CharT> text = Formatter<CharT>(args, count).Run(format);
    return StringT(text.c_str());
}

template StringT<char16_t, char> StringT<char16_t, char>::FormatList(const char16_t*,
                                                                     const FormatArg*, std::size_t);
template StringT<char, char16_t> StringT<char, char16_t>::FormatList(const char*, const FormatArg*,
                                                                     std::size_t);

} // namespace QZ
