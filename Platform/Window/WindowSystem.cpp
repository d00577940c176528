#include "Platform/Window/WindowSystem.h"

#include "Platform/Window/EventTranslator.h"
#include "Platform/Window/KeyTranslation.h"
#include "Platform/Window/TextConversion.h"
#include "Platform/Window/X11Windows.h"
#include "Platform/Window/XErrorFilter.h"

#if !__has_include(<SDL.h>)
#error "SDL.h not found: install the Debian package libsdl2-dev"
#endif
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <utility>
#include <vector>

namespace Platform
{

class Cursor
{
public:
    explicit Cursor(SDL_Cursor* made) : sdl(made) {}
    ~Cursor() { SDL_FreeCursor(sdl); }
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    SDL_Cursor* const sdl;
};

namespace
{

// Only one system may own SDL's video state at a time.
bool sOpen = false;
// What SDL_RegisterEvents answers when no event type is left.
constexpr Uint32 kNoEventType = static_cast<Uint32>(-1);

constexpr std::size_t kSystemCursors = static_cast<std::size_t>(SystemCursor::Help) + 1;

// How long showing a window waits for it to be on the screen before it goes on and leaves the
// window to show later, and how often the map is asked for again until it does.
constexpr int kMapWaitMs = 1000;
constexpr Uint64 kMapRetryMs = 250;

constexpr std::array<SDL_SystemCursor, kSystemCursors> kSdlCursors = {
    SDL_SYSTEM_CURSOR_ARROW,     SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_WAIT,
    SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_SIZEALL,
    SDL_SYSTEM_CURSOR_SIZENWSE,  SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZEWE,
    SDL_SYSTEM_CURSOR_SIZENS,    SDL_SYSTEM_CURSOR_NO,       SDL_SYSTEM_CURSOR_HAND,
    SDL_SYSTEM_CURSOR_WAITARROW, SDL_SYSTEM_CURSOR_ARROW};

bool IsInput(WindowEventType type)
{
    switch (type)
    {
    case WindowEventType::MouseMove:
    case WindowEventType::MouseDown:
    case WindowEventType::MouseUp:
    case WindowEventType::Wheel:
    case WindowEventType::KeyDown:
    case WindowEventType::KeyUp:
    case WindowEventType::Text:
    case WindowEventType::Close:
        return true;
    default:
        return false;
    }
}

std::string Describe(const char* variable)
{
    std::string text = variable;
    const char* value = std::getenv(variable);
    text.append(value != nullptr ? "=" : " unset").append(value != nullptr ? value : "");
    return text;
}

void ApplyHints(const char* driver)
{
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver, SDL_HINT_OVERRIDE);
    // Closing the last window is the program's decision, and a desktop program lets the screen
    // saver and the compositor be.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The click that activates a window is also a click in it, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

// Opening X11's input method reads the locale's whole compose table, thousands of lines read a
// character at a time, about a tenth of the program's start. The program's text is plain ASCII
// typed as such (names, numbers), so the input method starts with an empty table unless the user
// names one; the variable is set only while SDL opens the display, for nothing started later.
class EmptyComposeTable
{
public:
    EmptyComposeTable() : mSet(std::getenv(kVariable) == nullptr)
    {
        if (mSet)
        {
            setenv(kVariable, "/dev/null", 0);
        }
    }
    ~EmptyComposeTable()
    {
        if (mSet)
        {
            unsetenv(kVariable);
        }
    }
    EmptyComposeTable(const EmptyComposeTable&) = delete;
    EmptyComposeTable& operator=(const EmptyComposeTable&) = delete;

private:
    static constexpr const char* kVariable = "XCOMPOSEFILE";
    const bool mSet;
};

bool InitVideo()
{
    const EmptyComposeTable compose;
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

bool IsValid(const PixelBuffer& buffer)
{
    return buffer.pixels != nullptr && buffer.width > 0 && buffer.height > 0 &&
           buffer.stride >= buffer.width * 4;
}

// Format 32 properties travel as longs: width, height, then the ARGB rows.
std::size_t IconWords(const PixelBuffer& image)
{
    return 2 + static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// SDL gives an X11 window one icon size; the window manager's icon property takes them all,
// so a panel's 16 pixels and a switcher's 128 each get a drawing of their own. False when the
// window is not an X11 one or no size fits a request.
bool SetX11IconSizes(SDL_Window* window, std::span<const PixelBuffer> sizes)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
    {
        return false;
    }
    Display* display = info.info.x11.display;
    // One request carries the property: sizes that would make it longer than the server takes
    // are left out (the largest, as the sizes come smallest first).
    const long extended = XExtendedMaxRequestSize(display);
    const auto room = static_cast<std::size_t>(extended > 0 ? extended : XMaxRequestSize(display));
    constexpr std::size_t kRequestHeader = 6;
    std::size_t fitting = 0;
    std::size_t total = 0;
    for (const PixelBuffer& image : sizes)
    {
        const std::size_t words = IconWords(image);
        if (kRequestHeader + total + words > room)
        {
            break;
        }
        total += words;
        ++fitting;
    }
    std::vector<unsigned long> property;
    property.reserve(total);
    for (const PixelBuffer& image : sizes.first(fitting))
    {
        property.push_back(static_cast<unsigned long>(image.width));
        property.push_back(static_cast<unsigned long>(image.height));
        for (std::int32_t y = 0; y < image.height; ++y)
        {
            for (std::int32_t x = 0; x < image.width; ++x)
            {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, image.pixels + y * image.stride + x * 4, sizeof(pixel));
                property.push_back(pixel);
            }
        }
    }
    if (property.empty())
    {
        return false;
    }
    XChangeProperty(display, info.info.x11.window, XInternAtom(display, "_NET_WM_ICON", False),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(property.data()),
                    static_cast<int>(property.size()));
    XFlush(display);
    return true;
}

} // namespace

struct WindowSystem::WindowState
{
    SDL_Window* window = nullptr;
    bool enabled = true;
    Cursor* cursor = nullptr;
    // Shown and not yet seen where it was asked to be.
    bool placing = false;
    int placedX = 0;
    int placedY = 0;
    // X11: asked to be mapped and not on the screen yet; raised once it is, when asked to be.
    bool mapping = false;
    Uint64 mapAskedAt = 0;
    bool raiseWhenMapped = false;
    // Destroyed by another program: only its teardown is left.
    bool gone = false;
    // The window's modal dialog, brought forward when the blocked window is reached for.
    WindowId modalDialog = 0;
};

struct WindowSystem::Impl
{
    std::map<WindowId, WindowState> windows;
    std::array<std::unique_ptr<Cursor>, kSystemCursors> systemCursors;
    std::vector<std::unique_ptr<Cursor>> colorCursors;
    EventTranslator translator;
    std::deque<WindowEvent> pending;
    // SDL's X11 driver, whose maps, teardowns and foreign destructions this system looks after.
    bool x11 = false;
    // The event type that Wake pushes; set before any other thread can know the window system.
    Uint32 wakeType = kNoEventType;

    WindowState* Find(WindowId window)
    {
        const auto found = windows.find(window);
        return found != windows.end() ? &found->second : nullptr;
    }
};

std::unique_ptr<WindowSystem> WindowSystem::Open(const char* driver, std::string& error)
{
    if (sOpen)
    {
        error = "WindowSystem::Open: a window system is already open";
        return nullptr;
    }
    const char* fromEnvironment = std::getenv("SDL_VIDEODRIVER");
    // SDL would otherwise also try the console's KMS driver, which takes over the screen.
    const char* chosen = driver != nullptr            ? driver
                         : fromEnvironment != nullptr ? fromEnvironment
                                                      : "x11,wayland";
    ApplyHints(chosen);
    // In place before SDL's X11 driver starts, the filter is the handler SDL falls back on and
    // puts back when it ends, so that it also covers SDL's own second connection (its wake-ups
    // may name a window just destroyed) until that closes.
    FilterXErrors(true);
    if (!InitVideo())
    {
        FilterXErrors(false);
        const bool noDisplay = driver == nullptr && fromEnvironment == nullptr &&
                               std::getenv("DISPLAY") == nullptr &&
                               std::getenv("WAYLAND_DISPLAY") == nullptr;
        error = noDisplay ? "WindowSystem::Open: no display: neither DISPLAY nor WAYLAND_DISPLAY "
                            "is set"
                          : "WindowSystem::Open: cannot open a display with video driver " +
                                std::string(chosen) + " (" + Describe("DISPLAY") + ", " +
                                Describe("WAYLAND_DISPLAY") + "): " + SDL_GetError();
        return nullptr;
    }
    // X11 takes frames straight into shared memory, which keeps every pixel as it is; the
    // default would route them through OpenGL textures.
    const bool x11 = std::string_view(SDL_GetCurrentVideoDriver()) == "x11";
    if (x11)
    {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The X events themselves tell of a window that another program destroyed.
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
    else
    {
        FilterXErrors(false);
    }
    SDL_StartTextInput();
    auto impl = std::make_unique<Impl>();
    impl->x11 = x11;
    impl->wakeType = SDL_RegisterEvents(1);
    sOpen = true;
    return std::unique_ptr<WindowSystem>(new WindowSystem(std::move(impl)));
}

WindowSystem::WindowSystem(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

WindowSystem::~WindowSystem()
{
    for (auto& [id, state] : mImpl->windows)
    {
        TearDown(state);
    }
    mImpl.reset();
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // SDL keeps its D-Bus connection (input methods) until SDL_Quit; release it too when no
    // other part of SDL is in use.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
    {
        SDL_Quit();
    }
    FilterXErrors(false);
    sOpen = false;
}

bool WindowSystem::Fail(const char* where, const std::string& what)
{
    mError = std::string("WindowSystem::") + where + ": " + what;
    return false;
}

bool WindowSystem::FailSdl(const char* where)
{
    return Fail(where, SDL_GetError());
}

WindowId WindowSystem::CreateWindow(const WindowOptions& options)
{
    const WindowRect& client = options.client;
    if (client.width <= 0 || client.height <= 0)
    {
        Fail("CreateWindow", "the client size " + std::to_string(client.width) + " x " +
                                 std::to_string(client.height) + " is empty");
        return 0;
    }
    const Uint32 flags = SDL_WINDOW_HIDDEN | (options.resizable ? SDL_WINDOW_RESIZABLE : 0);
    SDL_Window* window = SDL_CreateWindow(ToUtf8(options.title).c_str(), client.x, client.y,
                                          client.width, client.height, flags);
    if (window == nullptr)
    {
        FailSdl("CreateWindow");
        return 0;
    }
    if (options.dialog && mImpl->x11)
    {
        X11::MarkAsDialog(window);
    }
    const WindowId id = SDL_GetWindowID(window);
    mImpl->windows[id].window = window;
    return id;
}

bool WindowSystem::DestroyWindow(WindowId window)
{
    WindowState* state = Find("DestroyWindow", window);
    if (state == nullptr)
    {
        return false;
    }
    TearDown(*state);
    mImpl->windows.erase(window);
    for (auto& [id, other] : mImpl->windows)
    {
        if (other.modalDialog == window)
        {
            other.modalDialog = 0;
        }
    }
    // Events still queued for it would name a window that no longer exists.
    std::erase_if(mImpl->pending, [window](const WindowEvent& e) { return e.window == window; });
    return true;
}

void WindowSystem::TearDown(WindowState& state)
{
    state.gone ? X11::DestroyGoneWindow(state.window) : SDL_DestroyWindow(state.window);
}

WindowSystem::WindowState* WindowSystem::Find(const char* where, WindowId window)
{
    WindowState* state = mImpl->Find(window);
    if (state == nullptr)
    {
        Fail(where, "no window " + std::to_string(window));
    }
    return state;
}

bool WindowSystem::Show(WindowId window)
{
    WindowState* state = Find("Show", window);
    if (state == nullptr || !IsPresent("Show", *state))
    {
        return false;
    }
    if ((SDL_GetWindowFlags(state->window) & SDL_WINDOW_SHOWN) != 0)
    {
        return true;
    }
    if (!state->mapping)
    {
        state->placing = true;
        SDL_GetWindowPosition(state->window, &state->placedX, &state->placedY);
    }
    if (!mImpl->x11)
    {
        SDL_ShowWindow(state->window);
        return true;
    }
    // A window the manager has taken in is shown when the manager decides.
    if (!state->mapping && X11::GetMapState(state->window) != X11::MapState::Unanswered)
    {
        return true;
    }
    Map(*state);
    return true;
}

bool WindowSystem::Hide(WindowId window)
{
    WindowState* state = Find("Hide", window);
    if (state == nullptr || !IsPresent("Hide", *state))
    {
        return false;
    }
    state->mapping = false;
    state->raiseWhenMapped = false;
    SDL_HideWindow(state->window);
    return true;
}

bool WindowSystem::Raise(WindowId window)
{
    WindowState* state = Find("Raise", window);
    if (state == nullptr || !IsPresent("Raise", *state))
    {
        return false;
    }
    if (state->mapping)
    {
        state->raiseWhenMapped = true;
        return true;
    }
    SDL_RaiseWindow(state->window);
    if (!mImpl->x11)
    {
        return true;
    }
    if (!X11::HasWindowManager(state->window))
    {
        X11::TakeKeyboard(state->window);
    }
    else if (X11::GetMapState(state->window) != X11::MapState::Viewable)
    {
        X11::RequestActivation(state->window);
    }
    return true;
}

bool WindowSystem::RestoreIfMinimized(WindowId window)
{
    WindowState* state = Find("RestoreIfMinimized", window);
    if (state == nullptr || !IsPresent("RestoreIfMinimized", *state))
    {
        return false;
    }
    const Uint32 flags = SDL_GetWindowFlags(state->window);
    if (!mImpl->x11)
    {
        if ((flags & SDL_WINDOW_MINIMIZED) != 0)
        {
            SDL_RestoreWindow(state->window);
        }
        return true;
    }
    // A window still on its way to the screen is asked for again by the event loop.
    if (state->mapping)
    {
        return true;
    }
    switch (X11::GetMapState(state->window))
    {
    case X11::MapState::KeptHidden:
        // The desktop takes a window out of its minimised state when the window asks to be
        // mapped.
        X11::RequestMap(state->window);
        break;
    case X11::MapState::Unanswered:
        Map(*state);
        break;
    default:
        break;
    }
    return true;
}

std::uint64_t WindowSystem::GetNativeWindow(WindowId window)
{
    const WindowState* state = mImpl->Find(window);
    return state != nullptr && !state->gone ? X11::GetNativeWindow(state->window) : 0;
}

bool WindowSystem::SetTitle(WindowId window, std::u16string_view title)
{
    WindowState* state = Find("SetTitle", window);
    if (state == nullptr)
    {
        return false;
    }
    SDL_SetWindowTitle(state->window, ToUtf8(title).c_str());
    return true;
}

bool WindowSystem::SetIcon(WindowId window, std::span<const PixelBuffer> sizes)
{
    WindowState* state = Find("SetIcon", window);
    if (state == nullptr)
    {
        return false;
    }
    if (sizes.empty() || !std::all_of(sizes.begin(), sizes.end(), IsValid))
    {
        return Fail("SetIcon", "no icon, or one with no pixels or a stride shorter than its rows");
    }
    // On X11 the property with every size replaces what SDL would set: sending SDL's one size
    // first would only pass the largest drawing to the server twice.
    if (SetX11IconSizes(state->window, sizes))
    {
        return true;
    }
    const PixelBuffer& largest = *std::max_element(sizes.begin(), sizes.end(),
                                                   [](const PixelBuffer& a, const PixelBuffer& b)
                                                   { return a.width < b.width; });
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(largest.pixels), largest.width, largest.height, 32,
        largest.stride, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
    {
        return FailSdl("SetIcon");
    }
    SDL_SetWindowIcon(state->window, surface);
    SDL_FreeSurface(surface);
    return true;
}

bool WindowSystem::GetClientRect(WindowId window, WindowRect& client)
{
    WindowState* state = Find("GetClientRect", window);
    if (state == nullptr)
    {
        return false;
    }
    SDL_GetWindowPosition(state->window, &client.x, &client.y);
    SDL_GetWindowSize(state->window, &client.width, &client.height);
    return true;
}

bool WindowSystem::ReadClientRect(WindowId window, WindowRect& client)
{
    if (!GetClientRect(window, client))
    {
        return false;
    }
    const WindowState* state = mImpl->Find(window);
    if (mImpl->x11 && !state->gone)
    {
        X11::ReadPosition(state->window, client.x, client.y);
    }
    return true;
}

bool WindowSystem::SetClientRect(WindowId window, const WindowRect& client)
{
    WindowState* state = Find("SetClientRect", window);
    if (state == nullptr)
    {
        return false;
    }
    if (client.width <= 0 || client.height <= 0)
    {
        return Fail("SetClientRect", "the client size " + std::to_string(client.width) + " x " +
                                         std::to_string(client.height) + " is empty");
    }
    SDL_SetWindowPosition(state->window, client.x, client.y);
    SDL_SetWindowSize(state->window, client.width, client.height);
    return true;
}

bool WindowSystem::SetResizable(WindowId window, bool resizable)
{
    WindowState* state = Find("SetResizable", window);
    if (state == nullptr)
    {
        return false;
    }
    SDL_SetWindowResizable(state->window, resizable ? SDL_TRUE : SDL_FALSE);
    return true;
}

bool WindowSystem::SetModalFor(WindowId dialog, WindowId owner)
{
    WindowState* state = Find("SetModalFor", dialog);
    if (state == nullptr)
    {
        return false;
    }
    WindowState* ownerState = Find("SetModalFor", owner);
    if (ownerState == nullptr)
    {
        return false;
    }
    if (SDL_SetWindowModalFor(state->window, ownerState->window) != 0)
    {
        return FailSdl("SetModalFor");
    }
    ownerState->modalDialog = dialog;
    return true;
}

bool WindowSystem::SetEnabled(WindowId window, bool enabled)
{
    WindowState* state = Find("SetEnabled", window);
    if (state == nullptr)
    {
        return false;
    }
    state->enabled = enabled;
    return true;
}

bool WindowSystem::IsEnabled(WindowId window) const
{
    const WindowState* state = mImpl->Find(window);
    return state != nullptr && state->enabled;
}

bool WindowSystem::GetUsableBounds(WindowId window, WindowRect& bounds)
{
    int display = 0;
    if (window != 0)
    {
        WindowState* state = Find("GetUsableBounds", window);
        if (state == nullptr)
        {
            return false;
        }
        display = SDL_GetWindowDisplayIndex(state->window);
        if (display < 0)
        {
            return FailSdl("GetUsableBounds");
        }
    }
    SDL_Rect area;
    if (SDL_GetDisplayUsableBounds(display, &area) != 0)
    {
        return FailSdl("GetUsableBounds");
    }
    bounds = {area.x, area.y, area.w, area.h};
    return true;
}

bool WindowSystem::Present(WindowId window, const PixelBuffer& frame,
                           std::span<const WindowRect> areas)
{
    WindowState* state = Find("Present", window);
    if (state == nullptr || !IsPresent("Present", *state))
    {
        return false;
    }
    if (!IsValid(frame))
    {
        return Fail("Present", "the frame has no pixels or a stride shorter than its rows");
    }
    SDL_Surface* surface = SDL_GetWindowSurface(state->window);
    if (surface == nullptr)
    {
        return FailSdl("Present");
    }
    // XRGB and ARGB lay out the colour bytes alike: copying the words as they are keeps every
    // colour exact. Other surfaces are converted.
    const Uint32 target = surface->format->format;
    const Uint32 source =
        target == SDL_PIXELFORMAT_RGB888 ? target : Uint32{SDL_PIXELFORMAT_ARGB8888};
    const int width = std::min(frame.width, surface->w);
    const int height = std::min(frame.height, surface->h);
    std::vector<SDL_Rect> shown;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
    {
        return FailSdl("Present");
    }
    for (const WindowRect& area : areas)
    {
        const int left = std::max(area.x, 0);
        const int top = std::max(area.y, 0);
        const int right = static_cast<int>(
            std::min<std::int64_t>(std::int64_t{area.x} + std::max(area.width, 0), width));
        const int bottom = static_cast<int>(
            std::min<std::int64_t>(std::int64_t{area.y} + std::max(area.height, 0), height));
        if (left >= right || top >= bottom)
        {
            continue;
        }
        const std::uint8_t* from = frame.pixels + std::ptrdiff_t{top} * frame.stride + left * 4;
        auto* to = static_cast<std::uint8_t*>(surface->pixels) +
                   std::ptrdiff_t{top} * surface->pitch + left * surface->format->BytesPerPixel;
        SDL_ConvertPixels(right - left, bottom - top, source, from, frame.stride, target, to,
                          surface->pitch);
        shown.push_back({left, top, right - left, bottom - top});
    }
    if (SDL_MUSTLOCK(surface))
    {
        SDL_UnlockSurface(surface);
    }
    if (shown.empty())
    {
        return true;
    }
    return SDL_UpdateWindowSurfaceRects(state->window, shown.data(),
                                        static_cast<int>(shown.size())) == 0 ||
           FailSdl("Present");
}

bool WindowSystem::WaitEvent(WindowEvent& event, std::int32_t timeoutMs)
{
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(std::max(timeoutMs, 0));
    std::deque<WindowEvent>& pending = mImpl->pending;
    while (pending.empty())
    {
        const bool mapping = RetryMaps();
        const Uint64 now = SDL_GetTicks64();
        int wait = timeoutMs < 0 ? -1 : now < deadline ? static_cast<int>(deadline - now) : 0;
        if (mapping && (wait < 0 || wait > static_cast<int>(kMapRetryMs)))
        {
            wait = static_cast<int>(kMapRetryMs);
        }
        SDL_Event sdl;
        if (SDL_WaitEventTimeout(&sdl, wait) == 0)
        {
            if (mapping && (timeoutMs < 0 || SDL_GetTicks64() < deadline))
            {
                continue;
            }
            return false;
        }
        if (mImpl->wakeType != kNoEventType && sdl.type == mImpl->wakeType)
        {
            return false;
        }
        if (const std::uint64_t destroyed = X11::GetDestroyedWindow(sdl))
        {
            OnDestroyedElsewhere(destroyed);
            continue;
        }
        if (sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_MOVED)
        {
            KeepPlacement(sdl.window.windowID);
        }
        if (sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_SHOWN)
        {
            if (WindowState* shown = mImpl->Find(sdl.window.windowID); shown && shown->mapping)
            {
                FinishMap(*shown);
            }
        }
        std::deque<WindowEvent> translated;
        mImpl->translator.Translate(sdl, translated);
        for (const WindowEvent& one : translated)
        {
            if (Admit(one))
            {
                pending.push_back(one);
            }
        }
    }
    event = pending.front();
    pending.pop_front();
    return true;
}

void WindowSystem::Wake()
{
    if (mImpl->wakeType == kNoEventType)
    {
        return;
    }
    SDL_Event wake{};
    wake.type = mImpl->wakeType;
    static_cast<void>(SDL_PushEvent(&wake));
}

// A window manager that frames a window puts the frame where the client was asked to be when
// it does not know the frame's size yet (before the window is first shown): the client lands
// lower and to the right by the frame, and a stored position would creep by that much at every
// start. Once the window shows up elsewhere, it is moved by the difference seen.
void WindowSystem::KeepPlacement(WindowId window)
{
    WindowState* state = mImpl->Find(window);
    if (state == nullptr || !state->placing)
    {
        return;
    }
    state->placing = false;
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(state->window, &x, &y);
    // The frame stays on the usable area, so that its title can still be taken.
    const int frameLeft = x - state->placedX;
    const int frameTop = y - state->placedY;
    SDL_Rect usable{0, 0, 0, 0};
    const int display = SDL_GetWindowDisplayIndex(state->window);
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0)
    {
        usable = {std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::min() / 2, 0, 0};
    }
    const int wantedX = std::max(state->placedX, usable.x + frameLeft);
    const int wantedY = std::max(state->placedY, usable.y + frameTop);
    if (x == wantedX && y == wantedY)
    {
        return;
    }
    // SDL allows for the frame itself once it knows the frame's size.
    int top = 0;
    int left = 0;
    const bool frameKnown = SDL_GetWindowBordersSize(state->window, &top, &left, nullptr,
                                                     nullptr) == 0 &&
                            (top != 0 || left != 0);
    SDL_SetWindowPosition(state->window, frameKnown ? wantedX : wantedX - frameLeft,
                          frameKnown ? wantedY : wantedY - frameTop);
}

bool WindowSystem::Admit(const WindowEvent& event)
{
    if (event.type == WindowEventType::DisplayChanged || event.type == WindowEventType::Quit)
    {
        return true;
    }
    // Events still queued for a destroyed window, and keys typed while no window of ours has the
    // keyboard, have nowhere to go.
    WindowState* state = mImpl->Find(event.window);
    if (state == nullptr)
    {
        return false;
    }
    if (event.type == WindowEventType::PointerEntered)
    {
        SDL_SetCursor(state->cursor != nullptr ? state->cursor->sdl : SDL_GetDefaultCursor());
    }
    // Reaching for a blocked window, by a click or by the desktop handing it the keyboard,
    // brings its dialog back in front with the keyboard, as the dialog is what waits for input.
    if (!state->enabled &&
        (event.type == WindowEventType::MouseDown || event.type == WindowEventType::FocusGained))
    {
        BringModalForward(*state);
    }
    // Without a window manager a click is what hands a window the keyboard.
    if (state->enabled && event.type == WindowEventType::MouseDown && mImpl->x11 &&
        SDL_GetKeyboardFocus() != state->window && !X11::HasWindowManager(state->window))
    {
        X11::TakeKeyboard(state->window);
    }
    return state->enabled || !IsInput(event.type);
}

void WindowSystem::BringModalForward(const WindowState& blocked)
{
    WindowState* dialog = mImpl->Find(blocked.modalDialog);
    // A dialog may itself be blocked by one of its own.
    while (dialog != nullptr && !dialog->enabled && mImpl->Find(dialog->modalDialog) != nullptr)
    {
        dialog = mImpl->Find(dialog->modalDialog);
    }
    if (dialog == nullptr || dialog->gone || dialog->mapping)
    {
        return;
    }
    SDL_RaiseWindow(dialog->window);
    static_cast<void>(SDL_SetWindowInputFocus(dialog->window));
}

bool WindowSystem::IsPresent(const char* where, const WindowState& state)
{
    return !state.gone || Fail(where, "the window was destroyed by another program");
}

void WindowSystem::Map(WindowState& state)
{
    X11::RequestMap(state.window);
    state.mapping = true;
    state.mapAskedAt = SDL_GetTicks64();
    const X11::MapState answer = X11::WaitForMapAnswer(state.window, kMapWaitMs);
    if (answer == X11::MapState::Viewable)
    {
        // SDL learns that the window shows from the server's report, which is queued by now.
        SDL_PumpEvents();
        FinishMap(state);
    }
    else if (answer == X11::MapState::KeptHidden)
    {
        LeaveToManager(state);
    }
}

void WindowSystem::FinishMap(WindowState& state)
{
    state.mapping = false;
    // Without a window manager nobody hands a new window the keyboard.
    if (!X11::HasWindowManager(state.window))
    {
        X11::TakeKeyboard(state.window);
    }
    if (std::exchange(state.raiseWhenMapped, false))
    {
        SDL_RaiseWindow(state.window);
    }
}

void WindowSystem::LeaveToManager(WindowState& state)
{
    state.mapping = false;
    state.raiseWhenMapped = false;
}

// A window manager that starts at the same moment as the program may lose the request to map
// a window; asked again, it shows the window. Once it has taken the window in, it is not asked
// again: a map request would take the window out of the state the manager chose for it.
bool WindowSystem::RetryMaps()
{
    bool waiting = false;
    const Uint64 now = SDL_GetTicks64();
    for (auto& [id, state] : mImpl->windows)
    {
        if (!state.mapping || state.gone)
        {
            continue;
        }
        const X11::MapState answer = X11::GetMapState(state.window);
        if (answer == X11::MapState::Viewable)
        {
            SDL_PumpEvents();
            FinishMap(state);
            continue;
        }
        if (answer != X11::MapState::Unanswered)
        {
            LeaveToManager(state);
            continue;
        }
        waiting = true;
        if (now - state.mapAskedAt >= kMapRetryMs)
        {
            X11::RequestMap(state.window);
            state.mapAskedAt = now;
        }
    }
    return waiting;
}

void WindowSystem::OnDestroyedElsewhere(std::uint64_t native)
{
    for (auto& [id, state] : mImpl->windows)
    {
        if (!state.gone && X11::GetNativeWindow(state.window) == native)
        {
            state.gone = true;
            state.mapping = false;
            // A window that is gone is closed, whatever blocked its input.
            WindowEvent close;
            close.type = WindowEventType::Close;
            close.window = id;
            mImpl->pending.push_back(close);
        }
    }
}

std::uint32_t WindowSystem::GetModifiers() const
{
    return ModifiersFromSdlKeymod(SDL_GetModState());
}

bool WindowSystem::CaptureMouse(bool capture)
{
    return SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE) == 0 || FailSdl("CaptureMouse");
}

Cursor* WindowSystem::GetSystemCursor(SystemCursor kind)
{
    const auto index = static_cast<std::size_t>(kind);
    if (index >= kSystemCursors)
    {
        Fail("GetSystemCursor", "no system cursor " + std::to_string(index));
        return nullptr;
    }
    std::unique_ptr<Cursor>& cursor = mImpl->systemCursors[index];
    if (cursor == nullptr)
    {
        SDL_Cursor* made = SDL_CreateSystemCursor(kSdlCursors[index]);
        if (made == nullptr)
        {
            FailSdl("GetSystemCursor");
            return nullptr;
        }
        cursor = std::make_unique<Cursor>(made);
    }
    return cursor.get();
}

Cursor* WindowSystem::CreateColorCursor(const PixelBuffer& image, std::int32_t hotX,
                                        std::int32_t hotY)
{
    if (!IsValid(image))
    {
        Fail("CreateColorCursor", "the image has no pixels or a stride shorter than its rows");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(image.pixels), image.width, image.height, 32, image.stride,
        SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
    {
        FailSdl("CreateColorCursor");
        return nullptr;
    }
    SDL_Cursor* made = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    if (made == nullptr)
    {
        FailSdl("CreateColorCursor");
        return nullptr;
    }
    return mImpl->colorCursors.emplace_back(std::make_unique<Cursor>(made)).get();
}

bool WindowSystem::SetCursor(WindowId window, Cursor* cursor)
{
    WindowState* state = Find("SetCursor", window);
    if (state == nullptr)
    {
        return false;
    }
    state->cursor = cursor;
    if (SDL_GetMouseFocus() == state->window)
    {
        SDL_SetCursor(cursor != nullptr ? cursor->sdl : SDL_GetDefaultCursor());
    }
    return true;
}

bool WindowSystem::SetClipboardText(std::u16string_view text)
{
    if (SDL_SetClipboardText(ToUtf8(text).c_str()) != 0)
    {
        return FailSdl("SetClipboardText");
    }
    // The claim on the clipboard waits in the display connection's buffer until the next pass of
    // the loop; another program pasting before then would find no owner, so send it now.
    SDL_PumpEvents();
    return true;
}

bool WindowSystem::GetClipboardText(std::u16string& text)
{
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr)
    {
        return FailSdl("GetClipboardText");
    }
    text = ToUtf16(utf8);
    SDL_free(utf8);
    return true;
}

} // namespace Platform
