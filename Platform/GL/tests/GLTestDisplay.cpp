#include "Platform/GL/tests/GLTestDisplay.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace QZ::GLPlatform::Testing
{
namespace
{

constexpr int kStartTimeoutMilliseconds = 10000;

// The display number Xvfb writes to the descriptor once it accepts clients; empty on time-out.
std::string ReadDisplayNumber(int descriptor)
{
    std::string number;
    pollfd wait{descriptor, POLLIN, 0};
    while (poll(&wait, 1, kStartTimeoutMilliseconds) == 1)
    {
        char c = 0;
        if (read(descriptor, &c, 1) != 1 || c == '\n')
        {
            break;
        }
        number += c;
    }
    return number;
}

// A 32-bit field of an XWD header, whose byte order the version field (7) tells.
std::uint32_t Field(const std::string& bytes, std::size_t index, bool bigEndian)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
    {
        const auto byte = static_cast<std::uint8_t>(bytes[index * 4 + (bigEndian ? i : 3 - i)]);
        value = value << 8 | byte;
    }
    return value;
}

} // namespace

XvfbDisplay::XvfbDisplay(std::int32_t width, std::int32_t height)
{
    char folder[] = "/tmp/qz-xvfb-XXXXXX";
    if (mkdtemp(folder) == nullptr)
    {
        return;
    }
    mFolder = folder;
    int ready[2];
    if (pipe(ready) != 0)
    {
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string descriptor = std::to_string(ready[1]);
    mServer = fork();
    if (mServer == 0)
    {
        close(ready[0]);
        execlp("Xvfb", "Xvfb", "-displayfd", descriptor.c_str(), "-screen", "0", screen.c_str(),
               "-fbdir", mFolder.c_str(), "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    if (mServer > 0)
    {
        const std::string number = ReadDisplayNumber(ready[0]);
        if (!number.empty())
        {
            mDisplay = ":" + number;
            setenv("DISPLAY", mDisplay.c_str(), 1);
        }
    }
    close(ready[0]);
}

XvfbDisplay::~XvfbDisplay()
{
    if (mServer > 0)
    {
        kill(mServer, SIGTERM);
        int status = 0;
        (void)waitpid(mServer, &status, 0);
    }
    if (!mFolder.empty())
    {
        (void)std::remove((mFolder + "/Xvfb_screen0").c_str());
        (void)rmdir(mFolder.c_str());
    }
}

std::vector<std::uint32_t> XvfbDisplay::ReadScreen(std::int32_t width, std::int32_t height) const
{
    std::ifstream file(mFolder + "/Xvfb_screen0", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    constexpr std::size_t kHeaderFields = 25;
    if (bytes.size() < kHeaderFields * 4)
    {
        return {};
    }
    const bool bigEndian = Field(bytes, 1, true) == 7;
    const std::uint32_t headerSize = Field(bytes, 0, bigEndian);
    const std::uint32_t screenWidth = Field(bytes, 4, bigEndian);
    const std::uint32_t screenHeight = Field(bytes, 5, bigEndian);
    const std::uint32_t bitsPerPixel = Field(bytes, 11, bigEndian);
    const std::uint32_t bytesPerLine = Field(bytes, 12, bigEndian);
    const std::uint32_t colours = Field(bytes, 19, bigEndian);
    const std::size_t start = std::size_t{headerSize} + std::size_t{colours} * 12;
    if (bitsPerPixel != 32 || screenWidth < static_cast<std::uint32_t>(width) ||
        screenHeight < static_cast<std::uint32_t>(height) ||
        bytes.size() < start + std::size_t{bytesPerLine} * screenHeight)
    {
        return {};
    }
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, bytes.data() + start + std::size_t{bytesPerLine} * y + 4u * x, 4);
            pixels.push_back(pixel & 0x00FFFFFFu);
        }
    }
    return pixels;
}

SdlGLWindow::SdlGLWindow(std::int32_t width, std::int32_t height)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        mError = SDL_GetError();
        return;
    }
    mWindow = SDL_CreateWindow("GL window test", 0, 0, width, height,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS);
    if (mWindow == nullptr)
    {
        mError = SDL_GetError();
    }
    SDL_PumpEvents();
}

SdlGLWindow::~SdlGLWindow()
{
    if (mWindow != nullptr)
    {
        SDL_DestroyWindow(static_cast<SDL_Window*>(mWindow));
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace QZ::GLPlatform::Testing
