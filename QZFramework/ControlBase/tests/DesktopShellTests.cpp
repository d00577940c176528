// Desktop windows on a real X server (a private Xvfb started by the test launcher): a person's
// clicks and typing through xdotool, the close box, the X selection and the pixels on the screen.
#include "Platform/Window/WindowTypes.h"
#include "Platform/Window/tests/Screenshot.h"
#include "QZFramework/ControlBase/tests/CloseRequest.h"
#include "QZFramework/ControlBase/tests/WindowTestSupport.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/System/Clipboard.h"

#include "Platform/Graphics2D/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::int32_t kLeft = 100;
constexpr std::int32_t kTop = 100;

// Keeps the frames it is shown as 0xRRGGBB pixels.
class CapturingPresenter : public IFramePresenter
{
public:
    void Present(Graphics2D::Image& frame, std::span<const RectT<std::int32_t>>) override
    {
        pixels.clear();
        for (std::int32_t y = 0; y < frame.GetHeight(); ++y)
        {
            for (std::int32_t x = 0; x < frame.GetWidth(); ++x)
            {
                std::uint32_t argb = 0;
                static_cast<void>(frame.GetPixel(x, y, argb));
                pixels.push_back(argb & 0xFFFFFF);
            }
        }
    }
    std::vector<std::uint32_t> pixels;
};

class DesktopShell : public WindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under cmake/RunUnderXvfb.sh";
        OpenLoop(nullptr);
    }
};

TEST_F(DesktopShell, TheWindowShowsTheOffScreenPictureAndTakesClicksAndTyping)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", kLeft, kTop, 200, 120);

    CapturingPresenter presenter;
    const RectT<std::int32_t> viewport(0, 0, 200, 120);
    const RCPtr<LRenderer> renderer =
        LRenderer::Create(LRenderer::kTypeGDIPlus, viewport, presenter.ToWindowHandle());
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(renderer->InitRenderContextInfo(viewport, presenter.ToWindowHandle(), false, context),
              S_OK);
    context->GetUpdateRegion().AddRect(RegionRect::FromRect(viewport));
    renderer->RenderStart(context);
    main->GetRootWindow()->Paint(renderer, context->GetUpdateRegion());
    renderer->RenderFinish(context);
    ASSERT_EQ(presenter.pixels.size(), 200u * 120u);

    std::vector<std::uint32_t> shown;
    EXPECT_TRUE(RunUntil(
        [&]
        {
            shown = Platform::Testing::Screenshot({kLeft, kTop, 200, 120});
            return shown == presenter.pixels;
        }))
        << "the window differs from the off-screen picture";

    ASSERT_EQ(RunCommand({"xdotool", "mousemove", std::to_string(kLeft + 50),
                          std::to_string(kTop + 25), "click", "1"}),
              0);
    EXPECT_TRUE(
        RunUntil([] { return std::ranges::count(WindowLog(), std::string("button:click")) == 1; }));

    main->GetRootWindow()->GetRootControl()->SetNotFocusable(false);
    const RCPtr<LControl> field = Find(*main, "field");
    field->SetNotFocusable(false);
    ASSERT_EQ(field->SetFocus(true), S_OK);
    WindowLog().clear();
    ASSERT_EQ(RunCommand({"xdotool", "type", "--delay", "20", "hi"}), 0);
    const auto typed = []
    {
        return std::ranges::count_if(WindowLog(), [](const std::string& e)
                                     { return e.starts_with("field:char"); });
    };
    EXPECT_TRUE(RunUntil([&] { return typed() == 2; }));
    std::vector<std::string> chars;
    std::ranges::copy_if(WindowLog(), std::back_inserter(chars),
                         [](const std::string& e) { return e.starts_with("field:char"); });
    EXPECT_EQ(chars, (std::vector<std::string>{"field:char h", "field:char i"}));
}

TEST_F(DesktopShell, ADialogClosedByItsCloseBoxAnswers2)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", kLeft, kTop, 200, 120);
    const std::unique_ptr<OSWindow> dialog =
        OpenWindow(u"dialog", kLeft + 20, kTop + 20, 160, 80, main.get());
    // A close request that never arrives must fail the test, not hang it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::function<void()> watch = [&]
    {
        std::chrono::steady_clock::now() > deadline ? dialog->EndModalLoop(-1)
                                                    : static_cast<void>(mScripted->action = watch);
    };
    bool requested = false;
    mScripted->action = [&]
    {
        requested = RequestWindowClose(kLeft + 20, kTop + 20, 160, 80);
        mScripted->action = watch;
    };
    EXPECT_EQ(dialog->RunModalLoop(), 2);
    EXPECT_TRUE(requested);
}

TEST_F(DesktopShell, ClipboardTextIsReadThroughTheXSelection)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", kLeft, kTop, 200, 120);
    RCPtr<LClipboard> clipboard;
    ASSERT_EQ(LClipboard::Create(clipboard, mLoop->GetWindowSystem()), S_OK);
    ASSERT_EQ(clipboard->SetText(WideString(u"Tarn 61 Grüße")), S_OK);
    const std::string output =
        std::filesystem::temp_directory_path() / ("clipboard-" + std::to_string(::getpid()));
    // The reader asks while the program is busy elsewhere: the ownership must already be known.
    ASSERT_EQ(RunCommand({"xclip", "-o", "-selection", "clipboard"}, output,
                         std::chrono::milliseconds(300)),
              0);
    std::ifstream file(output);
    const std::string read((std::istreambuf_iterator<char>(file)), {});
    std::filesystem::remove(output);
    EXPECT_EQ(read, "Tarn 61 Grüße");
}

} // namespace
} // namespace QZ::ToolkitTest
