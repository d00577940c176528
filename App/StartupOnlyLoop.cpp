#include "App/StartupOnlyLoop.h"

#include <iostream>

std::int32_t StartupOnlyLoop::Run(const IdleHandler& idle)
{
    // One idle series, as the loop runs on entry, so queued start-up notifications are handled.
    for (std::int32_t count = 0; idle(count); ++count)
    {
    }
    std::cout << "Tarn 61 Vidida Editor started; the editor window is not built yet." << std::endl;
    return 0;
}
