// The program's start-up, run and shutdown around the application object, in this order:
//
//   1. InitApplication: the control factory loads the string tables and the skins (from the
//      embedded resources) on a thread of its own while the event loop prepares (IEventLoop::
//      Prepare); then the single instance is settled: a second start hands its command line to
//      the first instance and ends, unless the first ends meanwhile and leaves it the lock.
//   2. InitInstance: the debug switches of the command line take effect.
//   3. Run: the event loop is readied, the application object is made and started (its MIDI
//      manager and engine come into being, the skin is chosen), the main window opens when the
//      loop shows windows, the event loop runs with idle processing until the exit request ends
//      it, and the application is shut down and let go.
//
// Any exception out of steps 1 and 3 shows the start-up error box (and writes it and the
// exception's text to stderr) and ends the program with kExitFailure. Exit codes: kExitSuccess
// after a normal run and after a command line was handed to the running instance, kExitFailure
// for every failure, a running instance that does not answer included. SIGTERM, SIGINT and
// SIGHUP end the program within two seconds whatever it waits on: the normal way (kExitSuccess)
// when it can, else outright with 128 plus the signal's number (143, 130, 129; see
// TerminationSignals).
#pragma once

#include "QZFramework/Application/ApplicationBase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class LApplication;

namespace QZ
{

class IControlResources;
class IEventLoop;
class SingleInstance;

class FrameworkProgram
{
public:
    static constexpr std::int32_t kExitSuccess = 0;
    static constexpr std::int32_t kExitFailure = 1;
    // The language of the user's locale.
    static constexpr std::int32_t kUserLanguage = -1;

    using ApplicationFactory =
        std::function<std::unique_ptr<LApplication>(const ApplicationStartup&)>;

    // resources and loop outlive the program object; factory null makes a plain LApplication.
    FrameworkProgram(IControlResources& resources, IEventLoop& loop,
                     ApplicationFactory factory = nullptr);
    ~FrameworkProgram();
    FrameworkProgram(const FrameworkProgram&) = delete;
    FrameworkProgram& operator=(const FrameworkProgram&) = delete;

    // The whole run for the process's arguments (UTF-8, the program's path first); the exit
    // code.
    [[nodiscard]] std::int32_t Main(std::span<const char* const> arguments,
                                    std::int32_t language = kUserLanguage);

    // One idle step of the loop: when command lines were received, brings the windows to the
    // front and hands the command lines to the application; then runs one pass over the
    // notification queues. True to be called again (counts 0 and 1 only).
    bool OnIdle(std::int32_t count);
    // One pass while another toolkit's dialog holds the user-interface thread: second starts are
    // answered (their command lines wait for the next idle step); false once a signal asked the
    // program to end, so that the dialog goes and the end can run.
    bool OnBlockedPass();

private:
    [[nodiscard]] bool InitApplication();
    // Has the control factory load the string tables and the skins while the loop prepares;
    // the load's result.
    [[nodiscard]] QZRESULT LoadResourcesWhileLoopPrepares();
    [[nodiscard]] bool SettleSingleInstance();
    void InitInstance();
    [[nodiscard]] std::int32_t Run();
    // The main window with the skin's root control, shown and painted.
    void OpenMainWindow();
    // A second start shows the running instance: its main window restored and in front, and
    // its open dialog in front of that.
    void HandCommandLinesToApplication();
    void BringWindowsToFront();
    void ReportStartupFailure(const char* step, const char* what);
    // For tests of a program that hangs: stops the user-interface thread for good.
    static void HoldUserInterface();

    IControlResources& mResources;
    IEventLoop& mLoop;
    ApplicationFactory mFactory;
    std::string mCommandLine;
    std::uint32_t mLanguage = 0;
    std::int32_t mExitCode = kExitFailure;
    bool mHoldUserInterface = false;
    std::unique_ptr<SingleInstance> mInstance;
    std::unique_ptr<LApplication> mApplication;
};

} // namespace QZ
