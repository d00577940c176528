#include "QZFramework/ControlBase/tests/WindowTestSupport.h"

#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/Renderer.h"

#include <cstdio>
#include <csignal>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace QZ::ToolkitTest
{

std::vector<std::string>& WindowLog()
{
    static std::vector<std::string> log;
    return log;
}

std::uint32_t SwatchColor(const WideString& name)
{
    const std::u16string_view text(name.GetString());
    return text == u"main"     ? 0xFF404040u
           : text == u"button" ? 0xFFE02020u
           : text == u"field"  ? 0xFF20C040u
           : text == u"panel"  ? 0xFF2040E0u
                               : 0xFFE0E020u;
}

Swatch::Swatch(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

QZRESULT Swatch::NotifyKey(const RCPtr<LKeyParam>& key)
{
    char text[32];
    if ((key->GetKey() & 0xFF0000) != 0)
    {
        const bool down = (key->GetKey() & KeyCode::kKeyDown) != 0;
        std::snprintf(text, sizeof text, "%s 0x%08x", down ? "key" : "key up", key->GetKey());
    }
    else
    {
        std::snprintf(text, sizeof text, "char %c", static_cast<char>(key->GetKey() & 0x7F));
    }
    WindowLog().push_back(Narrow(GetName()) + ":" + text);
    return S_OK;
}

QZRESULT Swatch::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    WindowLog().push_back(Narrow(GetName()) + ":wheel " + std::to_string(wheel->GetDirection()));
    return S_OK;
}

void WindowRecorder::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                         const RCPtr<LNotification>& notification)
{
    const auto* control = dynamic_cast<const LControl*>(sender.Get());
    const std::u16string_view id(notification->GetID());
    std::string what = id == NID_LEFT_CLICK ? "click" : id == NID_MOUSE_UP ? "up" : "";
    if (const auto press = RCPtr<LMouseButtonParam>::DynamicCastFrom(notification->GetPayload());
        press && id == NID_MOUSE_DOWN)
    {
        what = "down " + std::to_string(press->GetButton()) + " at " +
               std::to_string(press->GetX()) + "," + std::to_string(press->GetY());
    }
    else if (id == NID_HOVER_CONDITION_CHANGE)
    {
        what = control->IsHovered() ? "enter" : "leave";
    }
    else if (id == NID_CAPTURE_CONDITION_CHANGE)
    {
        what = control->HasCapture() ? "capture" : "release";
    }
    if (control != nullptr && !what.empty())
    {
        WindowLog().push_back(Narrow(control->GetName()) + ":" + what);
    }
}

void WindowRecorder::Listen(const RCPtr<LControl>& control)
{
    for (const char16_t* identifier : {NID_MOUSE_DOWN, NID_MOUSE_UP, NID_LEFT_CLICK,
                                       NID_HOVER_CONDITION_CHANGE, NID_CAPTURE_CONDITION_CHANGE})
    {
        Subscribe(RCPtr<LNotificationDistributor>(control), identifier, 0);
    }
    for (std::uint32_t i = 0; i < control->GetChildren().GetCount(); ++i)
    {
        Listen(control->GetChildren().GetAt(i, LControl::kStorageOrder));
    }
}

QZRESULT Swatch::DrawUnderlay(LRenderer& renderer)
{
    const PointT<double> size = GetSize();
    renderer.FillRect({0, 0, static_cast<std::int32_t>(size.x), static_cast<std::int32_t>(size.y)},
                      ColorRGBA(SwatchColor(GetName())), false);
    return S_OK;
}

bool ScriptedApplication::Idle(bool firstPass)
{
    if (std::function<void()> run = std::exchange(action, nullptr))
    {
        run();
    }
    return LApplicationBase::Idle(firstPass);
}

void WindowFixture::PostExitRequest()
{
    RCPtr<LNotification> request;
    LNotification::Create(request, NID_APP_EXIT_REQ);
    GetApplicationNotificationCenter()->Post(request);
}

void WindowFixture::OpenLoop(const char* driver)
{
    mApplication->SetControlFactory(RCPtr<LControlFactory>());
    mApplication.reset();
    auto application = std::make_unique<ScriptedApplication>();
    mScripted = application.get();
    mApplication = std::move(application);
    mApplication->SetControlFactory(mFactory);
    mApplication->RunApplicationStartup();
    std::string error;
    mLoop = LWindowEventLoop::Open(driver, error);
    ASSERT_NE(mLoop, nullptr) << error;
    mApplication->SetEventLoop(mLoop.get());
    mFactory->RegisterControlClass(WideString(u"Test.Swatch"), &LControlFactory::Create<Swatch>);
    LoadSkin(kSwatchSkin);
    WindowLog().clear();
}

void WindowFixture::TearDown()
{
    mRecorder->UnsubscribeAll();
    mApplication->SetEventLoop(nullptr);
    mApplication->RunApplicationShutdown();
    mLoop.reset();
}

std::unique_ptr<OSWindow> WindowFixture::OpenWindow(const char16_t* control, std::int32_t x,
                                                    std::int32_t y, std::int32_t width,
                                                    std::int32_t height, OSWindow* owner)
{
    auto window = std::make_unique<OSWindow>();
    EXPECT_NE(window->CreateEx(0, WideString(), WideString(control), 0, x, y, width, height, owner,
                               nullptr, nullptr),
              0);
    EXPECT_EQ(window->AttachRootWindow(LRenderer::kTypeGDIPlus), S_OK);
    EXPECT_EQ(window->GetRootWindow()->CreateRootControl(WideString(control)), S_OK);
    window->GetRootWindow()->GetRootControl()->UpdateConditions();
    mRecorder->Listen(window->GetRootWindow()->GetRootControl());
    if (owner == nullptr)
    {
        window->Show();
    }
    return window;
}

bool WindowFixture::RunUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    mLoop->RunModal([&] { return condition() || std::chrono::steady_clock::now() > deadline; });
    return condition();
}

int WindowFixture::RunCommand(std::vector<std::string> arguments, const std::string& output,
                              std::chrono::milliseconds away)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
    {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
    {
        return -1;
    }
    std::this_thread::sleep_for(away);
    int status = -1;
    // The loop keeps serving the X server meanwhile: the selection is read through it.
    bool ended = false;
    RunUntil([&] { return ended = ended || ::waitpid(child, &status, WNOHANG) == child; });
    if (!ended)
    {
        // A command that hangs must not outlive the test and its display.
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

RCPtr<LControl> WindowFixture::Find(const OSWindow& window, const char* name)
{
    std::vector<RCPtr<LControl>> found;
    window.GetRootWindow()->GetRootControl()->FindDescendantsByName(WideString(name), found);
    return found.empty() ? RCPtr<LControl>() : found.front();
}

} // namespace QZ::ToolkitTest
