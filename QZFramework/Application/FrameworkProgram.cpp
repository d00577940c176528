#include "QZFramework/Application/FrameworkProgram.h"

#include "Platform/Dialogs/MessageBox.h"
#include "Platform/Graphics2D/FontFamily.h"
#include "Platform/Instance/SingleInstance.h"
#include "Platform/Locale/Locale.h"
#include "Platform/Shell/CommandLine.h"
#include "Platform/Signals/TerminationSignals.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/ApplicationFolders.h"
#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/Application/DebugSwitches.h"
#include "QZFramework/Application/EventLoop.h"
#include "QZFramework/Application/StartupMessages.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <cstdlib>
#include <exception>
#include <future>
#include <iostream>
#include <string_view>
#include <system_error>
#include <thread>

namespace QZ
{
namespace
{

constexpr const char* kNoAnswerText =
    "Tarn 61 Vidida Editor is already running but does not answer. Close it, then start the "
    "program again.";
constexpr const char* kTooLongText =
    "Tarn 61 Vidida Editor is already running, but this command line is too long to hand over "
    "to it (more than 1 MiB).";
constexpr const char* kHandOverCaption = "Tarn 61 Vidida Editor";
// Set to 1, it lets tests see how the program behaves when its user-interface thread hangs (a
// second start's hand-over, the end signals) while the listener and the signal watcher run on.
constexpr const char* kHoldVariable = "QZ_TEST_HOLD_USER_INTERFACE";

bool IsHoldRequested()
{
    const char* value = std::getenv(kHoldVariable);
    return value != nullptr && std::string_view(value) == "1";
}

// A signal asks for the end that the desktop's quit asks for; called on a thread of its own.
void PostExitRequest()
{
    RCPtr<LNotification> request;
    LNotification::Create(request, NID_APP_EXIT_REQ);
    GetApplicationNotificationCenter()->Post(request);
}

std::unique_ptr<LApplication> CreateApplicationObject(const ApplicationStartup& startup)
{
    return std::make_unique<LApplication>(startup);
}

// Finding the default font reads the font configuration and its caches: milliseconds that need
// nothing the start-up loads, so they pass on a thread of their own while the skins load, and the
// application's own lookup later finds the face ready. Without a thread to be had, that lookup
// does the work itself.
std::jthread StartDefaultFontLookup()
{
    try
    {
        return std::jthread(
            []
            {
                Graphics2D::FontFamily family;
                static_cast<void>(Graphics2D::FontFamily::GenericSansSerif(family));
            });
    }
    catch (const std::system_error&)
    {
        return std::jthread();
    }
}

} // namespace

FrameworkProgram::FrameworkProgram(IControlResources& resources, IEventLoop& loop,
                                   ApplicationFactory factory)
    : mResources(resources), mLoop(loop),
      mFactory(factory ? std::move(factory) : ApplicationFactory(CreateApplicationObject))
{
}

FrameworkProgram::~FrameworkProgram()
{
    mLoop.SetBlockedPassHandler(nullptr);
}

std::int32_t FrameworkProgram::Main(std::span<const char* const> arguments, std::int32_t language)
{
    TerminationSignals::Install(&PostExitRequest);
    mHoldUserInterface = IsHoldRequested();
    mCommandLine = Shell::JoinCommandLine(arguments);
    mLanguage = language == kUserLanguage ? Locale::GetUserLanguage()
                                          : static_cast<std::uint32_t>(language) & 0xFFFF;
    mExitCode = kExitFailure;
    const std::jthread fontLookup = StartDefaultFontLookup();
    if (InitApplication())
    {
        InitInstance();
        mExitCode = Run();
    }
    return mExitCode;
}

bool FrameworkProgram::InitApplication()
{
    try
    {
        const QZRESULT loaded = LoadResourcesWhileLoopPrepares();
        if (Failed(loaded))
        {
            QZ_THROW_FAILED_RESULT(loaded, "QZ::FrameworkProgram::InitApplication");
        }
        return SettleSingleInstance();
    }
    catch (const std::exception& e)
    {
        ReportStartupFailure("InitApplication", e.what());
    }
    catch (...)
    {
        ReportStartupFailure("InitApplication", "unknown exception");
    }
    mExitCode = kExitFailure;
    return false;
}

QZRESULT FrameworkProgram::LoadResourcesWhileLoopPrepares()
{
    const auto load = [this, folder = GetApplicationFolder(kFolderEmbeddedResources, WideString(),
                                                           WideString())]
    { return mResources.LoadStringTablesAndSkins(folder, mLanguage); };
    std::future<QZRESULT> loading;
    try
    {
        loading = std::async(std::launch::async, load);
    }
    catch (const std::system_error&)
    {
        mLoop.Prepare();
        return load();
    }
    // Should Prepare throw, the future's end still waits for the load.
    mLoop.Prepare();
    return loading.get();
}

bool FrameworkProgram::SettleSingleInstance()
{
    const std::string folder = SingleInstance::GetRuntimeFolder();
    if (folder.empty())
    {
        std::cerr << "FrameworkProgram: no runtime folder; running without the single-instance "
                     "lock"
                  << std::endl;
        return true;
    }
    const std::string name =
        (GetApplicationName() + WideString(u"Prevent")).ToNarrowString().GetString();
    mInstance = std::make_unique<SingleInstance>(folder, name);
    if (mInstance->Claim() == InstanceRole::Second)
    {
        const HandOverResult handedOver = mInstance->HandOver(mCommandLine);
        if (handedOver == HandOverResult::Delivered)
        {
            mExitCode = kExitSuccess;
            return false;
        }
        if (handedOver != HandOverResult::TookOver)
        {
            Dialogs::ShowMessageBox(handedOver == HandOverResult::TooLong ? kTooLongText
                                                                          : kNoAnswerText,
                                    kHandOverCaption, Dialogs::kIconError);
            mExitCode = kExitFailure;
            return false;
        }
    }
    // Received command lines wait for the user-interface thread's next idle step.
    mInstance->Listen([this] { mLoop.Wake(); });
    return true;
}

void FrameworkProgram::InitInstance()
{
    DebugSwitches::Parse(mCommandLine).Apply();
}

std::int32_t FrameworkProgram::Run()
{
    std::string loopError;
    if (!mLoop.Open(loopError))
    {
        return kExitFailure;
    }
    mLoop.SetBlockedPassHandler([this] { return OnBlockedPass(); });
    try
    {
        mApplication = mFactory(ApplicationStartup{&mResources, mCommandLine, mLanguage});
        mApplication->SetEventLoop(&mLoop);
        const WideString commandLine(mCommandLine.c_str());
        mApplication->OnCommandLineBeforeStartup(commandLine);
        const QZRESULT started = mApplication->RunApplicationStartup();
        if (Failed(started))
        {
            QZ_THROW_FAILED_RESULT(started, "QZ::FrameworkProgram::Run");
        }
        mApplication->OnCommandLineAfterStartup(commandLine);
        if (mLoop.ShowsWindows())
        {
            OpenMainWindow();
        }
        if (mHoldUserInterface)
        {
            HoldUserInterface();
        }
        mApplication->Idle(true);
        const std::int32_t code = mLoop.Run([this](std::int32_t count) { return OnIdle(count); });
        mApplication->RunApplicationShutdown();
        mApplication.reset();
        return code == 0 ? kExitSuccess : kExitFailure;
    }
    catch (const std::exception& e)
    {
        ReportStartupFailure("Run", e.what());
    }
    catch (...)
    {
        ReportStartupFailure("Run", "unknown exception");
    }
    mApplication.reset();
    return kExitFailure;
}

void FrameworkProgram::OpenMainWindow()
{
    const QZRESULT created = mApplication->CreateMainWindow(LApplicationBase::GetRendererType());
    if (Failed(created))
    {
        QZ_THROW_FAILED_RESULT(created, "QZ::FrameworkProgram::OpenMainWindow");
    }
    OSWindow& window = *mApplication->GetMainWindow();
    const QZRESULT built =
        window.GetRootWindow()->CreateRootControl(mApplication->GetRootControlName());
    if (Failed(built))
    {
        QZ_THROW_FAILED_RESULT(built, "QZ::FrameworkProgram::OpenMainWindow");
    }
    window.Show();
    static_cast<void>(window.GetRootWindow()->InvalidateAllAndRedraw());
}

bool FrameworkProgram::OnIdle(std::int32_t count)
{
    HandCommandLinesToApplication();
    if (!mApplication || mApplication->IsExitRequested())
    {
        return false;
    }
    const bool more = mApplication->Idle(count == 0);
    return more && count <= 1;
}

bool FrameworkProgram::OnBlockedPass()
{
    if (mInstance)
    {
        mInstance->AcknowledgeCommandLines();
    }
    return !TerminationSignals::IsReceived();
}

void FrameworkProgram::HandCommandLinesToApplication()
{
    if (!mInstance || !mApplication)
    {
        return;
    }
    const std::vector<std::string> commandLines = mInstance->TakeCommandLines();
    if (!commandLines.empty())
    {
        BringWindowsToFront();
    }
    for (const std::string& commandLine : commandLines)
    {
        mApplication->OnCommandLineFromOtherInstance(WideString(commandLine.c_str()));
    }
}

void FrameworkProgram::BringWindowsToFront()
{
    OSWindow* main = mApplication->GetMainWindow();
    if (main == nullptr)
    {
        return;
    }
    main->BringToFront();
    // The newest window is the dialog in front of the others, or the main window itself.
    const std::vector<RCPtr<LRootWindow>> windows = mApplication->GetRootWindows();
    if (!windows.empty() && windows.back() != main->GetRootWindow())
    {
        if (auto* popup = dynamic_cast<OSWindow*>(windows.back()->GetOSServices()))
        {
            popup->BringToFront();
        }
    }
}

void FrameworkProgram::HoldUserInterface()
{
    std::cerr << "FrameworkProgram: " << kHoldVariable
              << "=1 holds the user-interface thread for good" << std::endl;
    std::promise<void> never;
    never.get_future().wait();
}

void FrameworkProgram::ReportStartupFailure(const char* step, const char* what)
{
    std::cerr << "FrameworkProgram::" << step << ": " << what << std::endl;
    ShowStartupErrorBox(&mResources);
}

} // namespace QZ
