// The stream buffer under each debug stream: it holds the text written since the last flush and
// hands it on (DebugStreams::Emit) when the stream is flushed.
//
// A bulk write never lets the held text grow past 1023 characters: it flushes first, so no piece
// handed on from a bulk write is longer than that. Characters written one at a time are not cut.
// Text after an embedded NUL is dropped when it is handed on, and nothing is handed on for an
// empty flush. Wide text is converted to UTF-8. Pending text is handed on when the buffer is
// destroyed. One buffer belongs to one thread.
#pragma once

#include <ios>
#include <sstream>

namespace QZ
{

template <class CharT> class basic_debugbuf : public std::basic_stringbuf<CharT>
{
public:
    static constexpr std::streamsize MaxPiece = 1023;

    basic_debugbuf() : std::basic_stringbuf<CharT>(std::ios_base::out) {}
    ~basic_debugbuf() override;

protected:
    std::streamsize xsputn(const CharT* text, std::streamsize count) override;
    int sync() override;

private:
    std::streamsize GetHeldCount() const { return this->pptr() - this->pbase(); }
};

extern template class basic_debugbuf<char>;
extern template class basic_debugbuf<wchar_t>;

} // namespace QZ
