// A window drawn by the OpenGL renderer under a private Xvfb: the screen shows, pixel for pixel,
// what the same renderer draws off-screen.
#include "Platform/GL/tests/GLTestDisplay.h"
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace QZ::Testing
{
namespace
{

using GLPlatform::Testing::SdlGLWindow;
using GLPlatform::Testing::XvfbDisplay;

// The off-screen picture without its alpha, as the screen holds it.
std::vector<std::uint32_t> WithoutAlpha(std::vector<std::uint32_t> picture)
{
    for (std::uint32_t& pixel : picture)
    {
        pixel &= 0x00FFFFFFu;
    }
    return picture;
}

TEST(GLWindow, ShowsWhatIsDrawnOffScreen)
{
    XvfbDisplay display(320, 240);
    ASSERT_TRUE(display.IsRunning()) << "Xvfb (package xvfb) did not start";
    SdlGLWindow window(kSceneWidth, kSceneHeight);
    ASSERT_NE(window.GetHandle(), nullptr) << window.GetError();
    std::vector<std::uint32_t> expected;
    {
        GLFrame offScreen(kSceneWidth, kSceneHeight);
        offScreen.Draw([](LGLRenderer& r) { DrawReferenceScene(r); });
        expected = WithoutAlpha(offScreen.Picture());
    }
    const RCPtr<LRenderer> renderer = LRenderer::Create(
        LRenderer::kTypeOpenGL, {0, 0, kSceneWidth, kSceneHeight}, window.GetHandle());
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(renderer->InitRenderContextInfo({0, 0, kSceneWidth, kSceneHeight}, window.GetHandle(),
                                              false, context),
              S_OK);
    std::vector<std::uint32_t> screen;
    // The server shows the swapped picture a little later: draw and look again until it does.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (screen != expected && std::chrono::steady_clock::now() < deadline)
    {
        (void)renderer->RenderStart(context);
        DrawReferenceScene(*renderer);
        (void)renderer->RenderFinish(context);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        screen = display.ReadScreen(kSceneWidth, kSceneHeight);
    }
    ASSERT_EQ(screen.size(), expected.size());
    std::int32_t differing = 0;
    for (std::size_t i = 0; i < screen.size(); ++i)
    {
        differing += screen[i] == expected[i] ? 0 : 1;
    }
    EXPECT_EQ(differing, 0) << "screen pixels unlike the off-screen picture";
}

} // namespace
} // namespace QZ::Testing
