// The user-interface thread's event loop as the application drives it: the window layer runs
// the real one; tests run a scripted one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace QZ
{

class IEventLoop
{
public:
    // Called with 0, 1, 2 ... whenever no event waits, until it answers false; the next event
    // (or Wake) starts a new series at 0.
    using IdleHandler = std::function<bool(std::int32_t count)>;

    virtual ~IEventLoop() = default;
    // Begins, on the thread that opens the loop, the slow part of opening while the start-up
    // reads its skins, before the single instance is settled: nothing that shows, and a failure
    // waits for Open to report it. A loop without windows needs nothing.
    virtual void Prepare() {}
    // Readies the loop before the application is made; false, with the reason, when it cannot
    // run. A loop without windows needs nothing.
    virtual bool Open(std::string& /*error*/) { return true; }
    // Whether the open loop shows windows, so that the application opens its main window.
    [[nodiscard]] virtual bool ShowsWindows() const { return false; }
    // Runs until Quit and answers Quit's code.
    virtual std::int32_t Run(const IdleHandler& idle) = 0;
    // Ends Run once the event in hand is done; user-interface thread.
    virtual void Quit(std::int32_t code) = 0;
    // Any thread: has the loop start an idle series soon.
    virtual void Wake() = 0;

    // Called on the user-interface thread at every pass while another toolkit's modal loop holds
    // it (the desktop's file dialog); false asks that loop to end.
    using BlockedPassHandler = std::function<bool()>;
    // Sets the handler (null: none). A loop that never lends its thread to another toolkit makes
    // no such passes.
    virtual void SetBlockedPassHandler(BlockedPassHandler /*handler*/) {}
};

} // namespace QZ
