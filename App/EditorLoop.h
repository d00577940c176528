// The editor's event loop: the window system's loop, opened when the run begins, so that a second
// start hands its command line over without needing a display. Without a display the run ends at
// once with code 1 and says what is missing. Until the editor window exists, the loop has no
// window to serve: it ends after its first idle series and says that the window is not built.
#pragma once

#include "QZFramework/Application/EventLoop.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"

#include <memory>

class EditorLoop : public QZ::IEventLoop
{
public:
    std::int32_t Run(const IdleHandler& idle) override;
    void Quit(std::int32_t code) override;
    void Wake() override;

private:
    std::unique_ptr<QZ::LWindowEventLoop> mLoop;
};
