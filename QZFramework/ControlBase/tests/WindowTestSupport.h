// Shared pieces of the desktop-window tests: an open event loop with an application and a skin
// of swatches (opaque controls that paint a flat colour chosen by their name and log the input
// they get), and a way to run the loop until a condition holds.
#pragma once

#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Notification/NotificationClient.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace QZ::ToolkitTest
{

// Everything swatches were told, as "name:what": "down 1 at x,y", "up", "click", "enter",
// "leave", "capture", "wheel d", "key 0x...", "key up 0x...", "char c".
std::vector<std::string>& WindowLog();

// 0xAARRGGBB of a swatch by its name: "main" grey, "button" red, "field" green, "panel" blue,
// anything else yellow.
std::uint32_t SwatchColor(const WideString& name);

class Swatch : public LControl
{
public:
    Swatch(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    bool IsTransparentAt(const PointT<long>&) const override { return false; }
    QZRESULT NotifyKey(const RCPtr<LKeyParam>& key) override;
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;

protected:
    QZRESULT DrawUnderlay(LRenderer& renderer) override;
};

// Logs the pointer notifications of the controls it listens to.
class WindowRecorder : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    // Listens to the control and all its descendants.
    void Listen(const RCPtr<LControl>& control);
};

// main (200 x 120) holds button (10, 10, 80 x 30) and field (10, 60, 120 x 30); dialog
// (160 x 80) holds panel (20, 20, 40 x 20).
inline constexpr std::string_view kSwatchSkin = R"(<Korvane_Skin_Definitions><Skin Name="W">
  <SubControl Class="Test.Swatch" Name="main" XSizeAbs="200" YSizeAbs="120">
    <SubControl Class="Test.Swatch" Name="button" XPositionAbs="10" YPositionAbs="10"
                XSizeAbs="80" YSizeAbs="30"/>
    <SubControl Class="Test.Swatch" Name="field" XPositionAbs="10" YPositionAbs="60"
                XSizeAbs="120" YSizeAbs="30"/>
  </SubControl>
  <SubControl Class="Test.Swatch" Name="dialog" XSizeAbs="160" YSizeAbs="80">
    <SubControl Class="Test.Swatch" Name="panel" XPositionAbs="20" YPositionAbs="20"
                XSizeAbs="40" YSizeAbs="20"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

// Runs one scripted action at its next idle pass.
class ScriptedApplication : public LApplicationBase
{
public:
    bool Idle(bool firstPass) override;
    std::function<void()> action;
};

// A started ScriptedApplication with the swatch classes and skin, and an open loop.
class WindowFixture : public ToolkitFixture
{
protected:
    // Opens the loop on the driver (null: the desktop's) and loads the swatch skin.
    void OpenLoop(const char* driver);
    static void PostExitRequest();
    void TearDown() override;

    // A shown window at the client rectangle showing the skin's control of that name; owner
    // makes it a dialog.
    std::unique_ptr<OSWindow> OpenWindow(const char16_t* control, std::int32_t x, std::int32_t y,
                                         std::int32_t width, std::int32_t height,
                                         OSWindow* owner = nullptr);
    // Runs loop steps until the condition holds or ten seconds pass; whether it held.
    bool RunUntil(const std::function<bool()>& condition);
    // Starts the command (no shell), its output to the file, and runs the loop until it ends;
    // its exit status, -1 when it could not start or did not exit. For the first moments the
    // loop may stay away, as a busy program does.
    int RunCommand(std::vector<std::string> arguments, const std::string& output = "/dev/null",
                   std::chrono::milliseconds away = {});
    [[nodiscard]] static RCPtr<LControl> Find(const OSWindow& window, const char* name);

    std::unique_ptr<LWindowEventLoop> mLoop;
    RCPtr<WindowRecorder> mRecorder{new WindowRecorder()};
    ScriptedApplication* mScripted = nullptr;
};

} // namespace QZ::ToolkitTest
