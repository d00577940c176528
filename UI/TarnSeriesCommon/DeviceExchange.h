// LDeviceExchange: a dialog's exchanges with the keyboard, run while the dialog shows that it is
// busy.
//
// Every exchange through the MIDI manager blocks its caller for as long as the keyboard takes to
// answer (seconds when it does not). So that the dialog's window stays painted meanwhile, the
// exchange runs on a worker thread while the user-interface thread serves the windows until the
// worker is done; for as long as the scope lives the dialog is disabled (the user cannot start a
// second exchange or edit a value that is being fetched) and the window shows the wait cursor and
// a status text. Run is called on the user-interface thread only, one exchange at a time, and
// returns the exchange's own result; whatever the exchange announces on other threads reaches the
// dialog only after Run returned, on the user-interface thread.
//
// One exchange with the keyboard runs at a time in the whole program: while a scope lives,
// IsAnyRunning answers true, and the commands that would open another device dialog stay off.
//
// A wait that ends before the exchange (the user asked the program to end) cancels the MIDI
// manager's exchanges, so the worker stops at its next step: Run then answers kCancelled, and so
// does every later Run of the scope without running anything; a dialog shows no result for it.
// The worker is joined on every road, an exception of the exchange or of the wait included; the
// exchange's exception is thrown again by Run on the user-interface thread.
//
// The wait defaults to the open window event loop; headless tests install their own wait.
#pragma once

#include "QZFramework/Application/WaitIndicator.h"
#include "QZFramework/ObjectBase/RCPtr.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace QZ
{

class LControl;
class LMidiManager;

class LDeviceExchange
{
public:
    // Serves the user interface until finished answers true; runs on the user-interface thread.
    using Wait = std::function<void(const std::function<bool()>& finished)>;

    // Disables the dialog and shows the wait cursor with the status text; the exchanges go
    // through manager.
    LDeviceExchange(LControl& dialog, LMidiManager& manager);
    // Enables the dialog again.
    ~LDeviceExchange();
    LDeviceExchange(const LDeviceExchange&) = delete;
    LDeviceExchange& operator=(const LDeviceExchange&) = delete;

    // Runs the exchange on a worker thread, waits for it as above and returns its result.
    std::int32_t Run(const std::function<std::int32_t()>& exchange);

    // Replaces the wait of every exchange (an empty one restores the event loop's).
    static void SetWait(Wait wait);
    // True while a scope lives anywhere in the program.
    [[nodiscard]] static bool IsAnyRunning();

private:
    // Runs the exchange on a worker thread that is joined however the wait leaves; the
    // exchange's exception is thrown again here.
    std::int32_t RunOnWorker(const std::function<std::int32_t()>& exchange);

    RCPtr<LControl> mDialog;
    RCPtr<LMidiManager> mManager;
    bool mCancelled = false;
    bool mWasEnabled;
    std::optional<LWaitIndicator> mIndicator;
};

} // namespace QZ
