// The event loop of a test program whose start never reaches a window: runs one idle series and
// ends the run, so start-up and shutdown run whole.
#pragma once

#include "QZFramework/Application/EventLoop.h"

class StartupOnlyLoop : public QZ::IEventLoop
{
public:
    std::int32_t Run(const IdleHandler& idle) override;
    void Quit(std::int32_t) override {}
    void Wake() override {}
};
