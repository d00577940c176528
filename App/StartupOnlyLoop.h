// Stands in for the window's event loop until the editor window exists: says that the window is
// not built yet and ends the run at once, so start-up and shutdown run whole.
#pragma once

#include "QZFramework/Application/EventLoop.h"

class StartupOnlyLoop : public QZ::IEventLoop
{
public:
    std::int32_t Run(const IdleHandler& idle) override;
    void Quit(std::int32_t) override {}
    void Wake() override {}
};
