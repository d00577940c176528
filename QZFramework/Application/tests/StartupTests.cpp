// The program's start-up sequence, run headless: the event loop is scripted, the control
// factory's loading is faked, message boxes are recorded.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Platform/Dialogs/MessageBox.h"
#include "Platform/Instance/SingleInstance.h"
#include "Platform/Instance/tests/FreeFirstInstance.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/Application/EventLoop.h"
#include "QZFramework/Application/FrameworkProgram.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include "ShellEnvironment.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace QZ;
using namespace std::chrono_literals;

namespace
{

constexpr const char* kInstanceName = "Korvane_Tarn 61 Vidida EditorPrevent";
// What the factory answers when a skin resource is not embedded.
constexpr QZRESULT kResourceMissing = static_cast<QZRESULT>(0x80070716u);

// Runs each scripted event followed by an idle series, until the loop is quit; a script that
// runs out without a quit answers kNeverQuit.
class ScriptedLoop : public IEventLoop
{
public:
    static constexpr std::int32_t kNeverQuit = 99;

    std::int32_t Run(const IdleHandler& idle) override
    {
        ++runs;
        for (std::size_t next = 0; !quit; ++next)
        {
            if (next == events.size())
            {
                return kNeverQuit;
            }
            events[next]();
            for (std::int32_t count = 0; !quit && idle(count); ++count)
            {
            }
        }
        return code;
    }
    void Quit(std::int32_t exitCode) override
    {
        quit = true;
        code = exitCode;
    }
    void Wake() override { ++wakes; }
    void Prepare() override
    {
        ++prepares;
        if (failPrepare)
        {
            failPrepare();
        }
    }
    bool Open(std::string&) override
    {
        ++opens;
        return true;
    }

    std::function<void()> failPrepare;
    std::int32_t prepares = 0;
    std::int32_t opens = 0;
    std::vector<std::function<void()>> events;
    bool quit = false;
    std::int32_t code = -1;
    std::int32_t runs = 0;
    std::atomic<std::int32_t> wakes{0};
};

struct MessageBoxCall
{
    std::string text;
    std::string caption;
    std::uint32_t style;
};

class RecordingPresenter : public Dialogs::IMessageBoxPresenter
{
public:
    RecordingPresenter() { Dialogs::SetMessageBoxPresenter(this); }
    ~RecordingPresenter() override { Dialogs::SetMessageBoxPresenter(nullptr); }
    std::int32_t Present(const std::string& text, const std::string& caption,
                         std::uint32_t style) override
    {
        calls.push_back({text, caption, style});
        return Dialogs::kResultOk;
    }
    std::vector<MessageBoxCall> calls;
};

// Records the command lines the application is handed; its start-up can be made to fail.
class RecordingApplication : public LApplication
{
public:
    explicit RecordingApplication(const ApplicationStartup& startup) : LApplication(startup) {}
    QZRESULT RunApplicationStartup() override
    {
        if (failStartup)
        {
            failStartup();
        }
        return LApplication::RunApplicationStartup();
    }
    QZRESULT OnCommandLineFromOtherInstance(const WideString& commandLine) override
    {
        received.push_back(commandLine.ToNarrowString().GetString());
        return S_OK;
    }

    std::function<void()> failStartup;
    std::vector<std::string> received;
};

void PostExitRequest()
{
    RCPtr<LNotification> request;
    LNotification::Create(request, NID_APP_EXIT_REQ);
    ASSERT_EQ(GetApplicationNotificationCenter()->Post(request), S_OK);
}

class StartupTest : public ShellEnvironment
{
protected:
    std::int32_t Main(std::vector<const char*> arguments,
                      std::function<void()> failStartup = nullptr)
    {
        FrameworkProgram program(mResources, mLoop,
                                 [&](const ApplicationStartup& startup)
                                 {
                                     auto application =
                                         std::make_unique<RecordingApplication>(startup);
                                     application->failStartup = failStartup;
                                     mApplication = application.get();
                                     return application;
                                 });
        return program.Main(arguments, 0x0407);
    }

    TableResources mResources;
    ScriptedLoop mLoop;
    RecordingPresenter mBoxes;
    RecordingApplication* mApplication = nullptr;
};

} // namespace

TEST_F(StartupTest, ANormalRunStartsTheEngineRunsTheLoopAndEndsOnTheExitRequest)
{
    mLoop.events = {[&]
                    {
                        LApplication* application = LApplication::GetApplication();
                        ASSERT_NE(application, nullptr);
                        EXPECT_TRUE(application->GetRootModuleEngine());
                        EXPECT_TRUE(application->GetMidiManager());
                        EXPECT_EQ(application->GetLanguage(), 0x0407u);
                        EXPECT_EQ(application->GetCommandLine(),
                                  "/opt/TarnEditor -debug_console:junk");
                        PostExitRequest();
                    },
                    [&] { ADD_FAILURE() << "the loop went on after the exit request"; }};
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main({"/opt/TarnEditor", "-debug_console:junk"}), FrameworkProgram::kExitSuccess);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("-DEBUG_CONSOLE: the port must be a number from 1 to 65535"),
              std::string::npos)
        << errors;
    EXPECT_EQ(mResources.loadedFolder, "::");
    EXPECT_EQ(mResources.loadedLanguage, 0x0407u);
    EXPECT_EQ(mLoop.runs, 1);
    EXPECT_TRUE(mBoxes.calls.empty());
    EXPECT_EQ(LApplication::GetApplication(), nullptr);
}

// The skins load while the loop prepares; a failure of either ends the start before the loop
// opens, once the load is over.
TEST_F(StartupTest, StartupFailuresShowTheErrorBoxAndEndNonZero)
{
    const auto throwRuntime = [] { throw std::runtime_error("no engine"); };
    const auto throwPrepare = [] { throw std::runtime_error("no window system"); };
    const struct
    {
        QZRESULT loadResult;
        std::function<void()> failStartup;
        std::function<void()> failPrepare;
        bool german;
        const char* detail;
        std::int32_t opens;
    } cases[] = {
        {kResourceMissing, nullptr, nullptr, false, "Failed Result : QZRESULT = 80070716", 0},
        {kResourceMissing, nullptr, nullptr, true, "Failed Result : QZRESULT = 80070716", 0},
        {S_OK, throwRuntime, nullptr, false, "no engine", 1},
        {S_OK, nullptr, throwPrepare, false, "no window system", 0}};
    for (const auto& c : cases)
    {
        mLoop.failPrepare = c.failPrepare;
        mLoop.prepares = 0;
        mLoop.opens = 0;
        mResources.loadedFolder.clear();
        mResources.loadResult = c.loadResult;
        mResources.strings.clear();
        if (c.german)
        {
            mResources.strings[u"STARTUP_ERROR"] =
                u"Beim Start sind Probleme aufgetreten; die Anwendung wird beendet.";
            mResources.strings[u"STARTUP_ERROR_CAPTION"] = u"Fehler";
        }
        mBoxes.calls.clear();
        testing::internal::CaptureStderr();
        EXPECT_EQ(Main({"/opt/TarnEditor"}, c.failStartup), FrameworkProgram::kExitFailure);
        const std::string errors = testing::internal::GetCapturedStderr();

        const std::string text =
            c.german ? "Beim Start sind Probleme aufgetreten; die Anwendung wird beendet."
                     : "The application encountered problems during startup and will now close.";
        const std::string caption = c.german ? "Fehler" : "Error";
        ASSERT_EQ(mBoxes.calls.size(), 1u) << c.detail;
        EXPECT_EQ(mBoxes.calls[0].text, text);
        EXPECT_EQ(mBoxes.calls[0].caption, caption);
        EXPECT_EQ(mBoxes.calls[0].style, Dialogs::kIconError);
        EXPECT_NE(errors.find(caption + ": " + text), std::string::npos) << errors;
        EXPECT_NE(errors.find(c.detail), std::string::npos) << errors;
        EXPECT_EQ(mResources.loadedFolder, "::") << c.detail;
        EXPECT_EQ(mLoop.prepares, 1) << c.detail;
        EXPECT_EQ(mLoop.opens, c.opens) << c.detail;
        EXPECT_EQ(mLoop.runs, 0);
        EXPECT_EQ(LApplication::GetApplication(), nullptr);
    }
}

TEST_F(StartupTest, ASecondStartHandsItsCommandLineToTheFirstAndEndsWithZero)
{
    FreeFirstInstance first(Path("runtime"), kInstanceName);
    ASSERT_TRUE(first.Start());
    EXPECT_EQ(Main({"/opt/TarnEditor", "/home/ü/Grüße 夜.Tarn61RededoVuvuva"}),
              FrameworkProgram::kExitSuccess);
    EXPECT_EQ(first.TakeTaken(),
              std::vector<std::string>{"/opt/TarnEditor \"/home/ü/Grüße 夜.Tarn61RededoVuvuva\""});
    EXPECT_EQ(mLoop.runs, 0);
    EXPECT_TRUE(mBoxes.calls.empty());
}

TEST_F(StartupTest, ASecondStartThatCannotHandOverEndsWithAMessageSayingWhy)
{
    const std::string tooLong(SingleInstance::kMaxCommandLineBytes, 'x');
    using Case = std::tuple<bool, const char*, const char*>;
    const Case cases[] = {
        {false, "-small", "is already running but does not answer"},
        {true, tooLong.c_str(), "this command line is too long"},
    };
    for (const auto& [listening, argument, message] : cases)
    {
        mBoxes.calls.clear();
        SingleInstance first(Path("runtime"), kInstanceName);
        ASSERT_EQ(first.Claim(), InstanceRole::First);
        ASSERT_TRUE(!listening || first.Listen(nullptr));
        testing::internal::CaptureStderr();
        EXPECT_EQ(Main({"/opt/TarnEditor", argument}), FrameworkProgram::kExitFailure);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(mBoxes.calls.size(), 1u);
        EXPECT_NE(mBoxes.calls[0].text.find(message), std::string::npos) << message;
        EXPECT_TRUE(first.TakeCommandLines().empty());
    }
    EXPECT_EQ(mLoop.runs, 0);
}

TEST_F(StartupTest, TheFirstInstanceHandsEachReceivedCommandLineToTheApplicationOnce)
{
    const std::string line = "/opt/TarnEditor \"Grüße.Tarn61RededoVuvuva\"";
    std::vector<std::string> received;
    std::future<HandOverResult> handedOver;
    mLoop.events = {[&]
                    {
                        // The second start waits until the idle series that follows takes its
                        // text on this thread.
                        handedOver = std::async(std::launch::async,
                                                [&]
                                                {
                                                    SingleInstance second(Path("runtime"),
                                                                          kInstanceName);
                                                    EXPECT_EQ(second.Claim(), InstanceRole::Second);
                                                    return second.HandOver(line);
                                                });
                        const auto deadline = std::chrono::steady_clock::now() + 5s;
                        while (mLoop.wakes.load() == 0 && std::chrono::steady_clock::now() < deadline)
                        {
                            std::this_thread::sleep_for(5ms);
                        }
                        EXPECT_GE(mLoop.wakes.load(), 1);
                    },
                    [&]
                    {
                        EXPECT_EQ(handedOver.get(), HandOverResult::Delivered);
                        received = mApplication->received;
                        PostExitRequest();
                    }};
    EXPECT_EQ(Main({"/opt/TarnEditor"}), FrameworkProgram::kExitSuccess);
    EXPECT_EQ(received, std::vector<std::string>{line});
}
