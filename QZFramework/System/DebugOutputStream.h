// A debug stream: a standard output stream over its own debug buffer, made and deleted with it.
#pragma once

#include "QZFramework/System/DebugBuffer.h"

#include <ostream>

namespace QZ
{

template <class CharT> class basic_dostream : public std::basic_ostream<CharT>
{
public:
    basic_dostream() : std::basic_ostream<CharT>(new basic_debugbuf<CharT>()) {}
    ~basic_dostream() override { delete this->rdbuf(); }
    basic_dostream(const basic_dostream&) = delete;
    basic_dostream& operator=(const basic_dostream&) = delete;
};

} // namespace QZ
