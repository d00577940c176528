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

class LDeviceExchange
{
public:
    // Serves the user interface until finished answers true; runs on the user-interface thread.
    using Wait = std::function<void(const std::function<bool()>& finished)>;

    // Disables the dialog and shows the wait cursor with the status text.
    explicit LDeviceExchange(LControl& dialog);
    // Enables the dialog again.
    ~LDeviceExchange();
    LDeviceExchange(const LDeviceExchange&) = delete;
    LDeviceExchange& operator=(const LDeviceExchange&) = delete;

    // Runs the exchange on a worker thread, waits for it as above and returns its result.
    std::int32_t Run(const std::function<std::int32_t()>& exchange);

    // Replaces the wait of every exchange (an empty one restores the event loop's).
    static void SetWait(Wait wait);

private:
    RCPtr<LControl> mDialog;
    bool mWasEnabled;
    std::optional<LWaitIndicator> mIndicator;
};

} // namespace QZ
