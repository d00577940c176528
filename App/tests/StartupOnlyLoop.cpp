#include "App/tests/StartupOnlyLoop.h"

std::int32_t StartupOnlyLoop::Run(const IdleHandler& idle)
{
    // One idle series, as the loop runs on entry, so queued start-up notifications are handled.
    for (std::int32_t count = 0; idle(count); ++count)
    {
    }
    return 0;
}
