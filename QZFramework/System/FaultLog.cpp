#include "QZFramework/System/FaultLog.h"

#include "QZFramework/System/DebugStreams.h"

#include <string>

namespace QZ
{

void LogFault(std::string_view where, std::string_view what)
{
    std::string line;
    line.reserve(where.size() + what.size() + 3);
    line.append(where).append(": ").append(what).append("\n");
    DebugStreams::Emit(line);
}

} // namespace QZ
