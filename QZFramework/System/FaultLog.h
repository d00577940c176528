// Where the threading and notification kit reports a fault that it cannot hand back as a result:
// a receiver that threw during a queue pass, a worker that threw out of DoWork, a thread that
// outlives its stop wait. One line per fault, "<where>: <what>", handed to the debug output whole
// so that lines from different threads do not interleave.
#pragma once

#include <string_view>

namespace QZ
{

void LogFault(std::string_view where, std::string_view what);

} // namespace QZ
