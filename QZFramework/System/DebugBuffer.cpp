#include "QZFramework/System/DebugBuffer.h"

#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <string>

namespace QZ
{
namespace
{

constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
    {
        c = kReplacementCharacter;
    }
    if (c < 0x80)
    {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

std::string ToUtf8(const std::string& text)
{
    return text;
}

std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
    {
        AppendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

} // namespace

template <class CharT> basic_debugbuf<CharT>::~basic_debugbuf()
{
    if (this->pbase() != nullptr)
    {
        sync();
    }
}

template <class CharT>
std::streamsize basic_debugbuf<CharT>::xsputn(const CharT* text, std::streamsize count)
{
    std::streamsize done = 0;
    while (done < count)
    {
        if (GetHeldCount() >= MaxPiece)
        {
            sync();
        }
        const std::streamsize piece = std::min(count - done, MaxPiece - GetHeldCount());
        const std::streamsize copied = std::basic_stringbuf<CharT>::xsputn(text + done, piece);
        done += copied;
        if (copied < piece)
        {
            break;
        }
    }
    return done;
}

template <class CharT> int basic_debugbuf<CharT>::sync()
{
    std::basic_string<CharT> text = this->str();
    text.resize(std::find(text.begin(), text.end(), CharT(0)) - text.begin());
    this->str(std::basic_string<CharT>());
    if (!text.empty())
    {
        DebugStreams::Emit(ToUtf8(text));
    }
    return 0;
}

template class basic_debugbuf<char>;
template class basic_debugbuf<wchar_t>;

} // namespace QZ
