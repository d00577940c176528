// What the device dialogs' tests share: the shipped skin with the dialogs registered, the
// application's engine and a MIDI manager with short reply waits (made once a test has chosen
// its MIDI driver), message boxes recorded in place of the desktop's, and a wait that notes, for
// each exchange, whether the watched dialog was disabled on the user-interface thread while it
// ran, then serves the window event loop (SDL's dummy driver) until the exchange is done, with a
// repaint and a pointer move of the dialog's window queued first, so that the user interface
// works while the MIDI threads do.
#pragma once

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "UI/DriverCommon/AppServices.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace QZ
{

struct ShownBox
{
    std::string text;
    std::string caption;
    std::uint32_t style;
};

// The application's texts from the loaded table, with keys a test blanks, and recorded boxes.
class RecordingAppServices : public IAppServices
{
public:
    bool LookupAppString(const char16_t* key, WideString& text) const override;
    std::uint32_t ShowMessageBox(const WideString& text, const WideString& caption,
                                 std::uint32_t style) override;

    std::vector<ShownBox> boxes;
    std::vector<std::u16string> blanked;
};

class DeviceDialogFixture : public ShippedSkinFixture
{
protected:
    DeviceDialogFixture();
    ~DeviceDialogFixture() override;

    // Makes the manager on the process's current MIDI driver and hands it to the application.
    void StartManager(std::uint32_t replyWaitMs);
    // Lets the dialog and the manager go, before the test's MIDI driver goes.
    void StopManager();
    // The top-level dialog of that skin name, built as the device view builds it and shown in a
    // window of the loop; its exchanges are watched from now on.
    RCPtr<LControl> BuildDialog(const std::u16string& name);
    void Click(const RCPtr<LControl>& button);

    std::unique_ptr<LWindowEventLoop> mLoop;
    std::unique_ptr<OSWindow> mWindow;
    RecordingAppServices mServices;
    RCPtr<LMidiManager> mManager;
    RCPtr<LControl> mWatched;
    // Per exchange: true when the dialog was disabled, the wait ran on the test's thread and the
    // repaint and the pointer move were queued to the dialog's window.
    std::vector<bool> mBusyExchanges;
    // The exit is requested as soon as an exchange starts.
    bool mExitDuringExchange = false;
};

} // namespace QZ
