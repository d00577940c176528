// The editor's event loop: the window system's loop. The window system opens while the skins are
// read, but a failure to open it counts only once the single instance is settled, so that a
// second start hands its command line over without needing a display. Without a display the
// start ends with code 1 and says what is missing. The loop runs until the main
// window closes, and closes the window system when it goes. While a file dialog of the desktop is
// open the loop keeps the windows painted, their input dropped, and message boxes are the skin's,
// run by the loop. The clipboard, which takes the edit commands, lives as long as the window
// system it stands on.
#pragma once

#include "App/SkinnedMessageBox.h"
#include "QZFramework/Application/EventLoop.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/System/Clipboard.h"

#include <memory>

class EditorLoop : public QZ::IEventLoop
{
public:
    ~EditorLoop() override;

    void Prepare() override;
    bool Open(std::string& error) override;
    [[nodiscard]] bool ShowsWindows() const override { return mLoop != nullptr; }
    std::int32_t Run(const IdleHandler& idle) override;
    void Quit(std::int32_t code) override;
    void Wake() override;
    void SetBlockedPassHandler(BlockedPassHandler handler) override;

private:
    std::unique_ptr<QZ::LWindowEventLoop> mLoop;
    // Why the window system did not open, for Open to report.
    std::string mOpenError;
    QZ::RCPtr<QZ::LClipboard> mClipboard;
    BlockedPassHandler mBlockedPass;
    SkinnedMessageBox mMessageBox;
};
