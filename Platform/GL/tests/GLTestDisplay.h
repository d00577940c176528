// Windows for tests of GL drawing, with no person and no desktop: a private Xvfb server whose
// screen can be read back, and the SDL window with OpenGL that the window layer would make.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace QZ::GLPlatform::Testing
{

// Starts Xvfb on a free display with one screen of the size and points DISPLAY at it; the server
// is stopped, by its process id, when the object goes.
class XvfbDisplay
{
public:
    XvfbDisplay(std::int32_t width, std::int32_t height);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    [[nodiscard]] bool IsRunning() const { return mServer > 0 && !mDisplay.empty(); }
    // The screen as 0x00RRGGBB pixels, rows top down, cut to width x height from the top left;
    // empty when it cannot be read.
    [[nodiscard]] std::vector<std::uint32_t> ReadScreen(std::int32_t width,
                                                        std::int32_t height) const;

private:
    pid_t mServer = -1;
    std::string mFolder;
    std::string mDisplay;
};

// A shown, borderless SDL window with OpenGL at the top left of the screen.
class SdlGLWindow
{
public:
    SdlGLWindow(std::int32_t width, std::int32_t height);
    ~SdlGLWindow();
    SdlGLWindow(const SdlGLWindow&) = delete;
    SdlGLWindow& operator=(const SdlGLWindow&) = delete;

    // The SDL_Window, or null with the failure in GetError.
    [[nodiscard]] void* GetHandle() const { return mWindow; }
    [[nodiscard]] const std::string& GetError() const { return mError; }

private:
    void* mWindow = nullptr;
    std::string mError;
};

} // namespace QZ::GLPlatform::Testing
