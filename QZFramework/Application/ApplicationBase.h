// The application object's operating-system side: the clocks, the renderer through which fonts
// take their metrics and text is measured, the default font, and the shell's services: the
// program's names and folders, the language, the command line, the settings store, cursors,
// key and button state, the work area, message boxes and the exit request.
//
// One application object exists at a time; its constructor makes it the application that
// GetApplication returns, and its destructor withdraws it. Everything here is used on the
// user-interface thread.
//
// Start-up builds it with the program's ApplicationStartup; a default-built object (as rendering
// tests make) has no control resources, an empty command line and the user's language.
// RunApplicationStartup subscribes it to "NID_APP_EXIT_REQ" at the "application" notification
// centre; the request, delivered at idle, sets the exit flag and ends the event loop with code 0
// when CanExit agrees.
#pragma once

#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/Application/InputState.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace QZ
{

class IControlResources;
class IEventLoop;
class LIniFileManager;
class LNotificationClient;
class LRootWindow;
class LStatusBar;
class OSWindow;

// What start-up hands the application object.
struct ApplicationStartup
{
    // Loaded already; kept alive by start-up for the object's life. May be null.
    const IControlResources* resources = nullptr;
    // UTF-8.
    std::string commandLine;
    std::uint32_t language = 0;
};

// The work area: left, top, width and height in screen pixels.
struct WorkArea
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// "Korvane_Tarn 61 Vidida Editor": the maker, "_" and the product; it names the single-instance
// lock and the main window's class.
[[nodiscard]] const WideString& GetApplicationName();

// The cursor that the living application gives for the name; the arrow without one.
[[nodiscard]] CursorHandle LoadAppCursor(const char16_t* name);
class LControl;
class LControlFactory;

class LGlobalHotKeyManager;

// Windows are deleted through a function of the file that makes them, so that the application's
// core does not depend on the window system.
struct OSWindowDeleter
{
    void (*destroy)(OSWindow*) = nullptr;
    void operator()(OSWindow* window) const { destroy(window); }
};

class LApplicationBase
{
public:
    // A logic error when another application object is alive.
    LApplicationBase();
    explicit LApplicationBase(const ApplicationStartup& startup);
    // Withdraws the exit subscription and lets the settings store go (it unloads its library).
    virtual ~LApplicationBase();
    LApplicationBase(const LApplicationBase&) = delete;
    LApplicationBase& operator=(const LApplicationBase&) = delete;

    // The living application object, or null.
    [[nodiscard]] static LApplicationBase* GetApplication();

    // Milliseconds of a steady clock as an unsigned 32-bit count that wraps.
    [[nodiscard]] virtual std::uint32_t GetTimeMilliseconds() const;
    // Seconds since the first call, advanced by the difference of successive millisecond
    // readings (so a wrap of the millisecond count does not show).
    [[nodiscard]] double GetTimeSeconds();

    // The renderer the application draws and measures with: the GDI+ type (1).
    [[nodiscard]] static std::int32_t GetRendererType() { return 1; }
    [[nodiscard]] RCPtr<LRenderer> GetRenderer() const { return mRenderer; }
    void SetRenderer(const RCPtr<LRenderer>& renderer) { mRenderer = renderer; }

    // The desktop's default interface font: the layer's fallback sans-serif family at 9 points,
    // regular (style bits: 1 bold, 2 italic, 4 underline, 8 strikeout). E_FAIL when the machine
    // has no scalable font.
    [[nodiscard]] virtual QZRESULT GetDefaultFont(WideString& face, float& size,
                                                  std::int32_t& style) const;
    // The base font of controls that do not take their parent's; null until set.
    [[nodiscard]] RCPtr<LFont> GetApplicationFont() const { return mApplicationFont; }
    void SetApplicationFont(const RCPtr<LFont>& font) { mApplicationFont = font; }

    // Names from the version block; the title is the product name.
    [[nodiscard]] virtual WideString GetCompanyName() const;
    [[nodiscard]] virtual WideString GetProductName() const;
    [[nodiscard]] virtual WideString GetProductVersion() const;
    [[nodiscard]] virtual WideString GetApplicationTitle() const;
    // The version of the settings files' layout.
    [[nodiscard]] virtual WideString GetSettingsVersion() const { return WideString(); }
    // The folder of the number (ApplicationFolders.h); throws for an unknown number.
    [[nodiscard]] virtual WideString GetFolder(std::int32_t id) const;
    // The open handle of a settings file; 0 (no file) here.
    [[nodiscard]] virtual std::int32_t GetSettingsFile(std::int32_t fileId);
    // The settings store, made and loaded on first use.
    [[nodiscard]] RCPtr<LIniFileManager> GetIniFileManager();

    [[nodiscard]] std::uint32_t GetLanguage() const { return mLanguage; }
    [[nodiscard]] const std::string& GetCommandLine() const { return mCommandLine; }
    [[nodiscard]] const IControlResources* GetControlResources() const { return mResources; }

    // The cursor of a name (AppCursors.h); the standard pointers here.
    [[nodiscard]] virtual CursorHandle GetCursor(const char16_t* name) const;
    // The answer to the desktop's power notices, which the main window hands on: 1 grants every
    // request.
    [[nodiscard]] virtual std::int32_t OnPowerBroadcast(std::uint32_t, std::uintptr_t) { return 1; }
    // The program's icon at each size it is drawn at, smallest first: the PNGs embedded as
    // resources "ICON" "APPICON-<size>_PNG" (16 to 256 pixels); the sizes not embedded are left
    // out.
    [[nodiscard]] std::vector<std::span<const std::uint8_t>> GetAppIcon() const;

    // Key and button state, fed by the window layer.
    [[nodiscard]] InputState& GetInputState() { return mInputState; }
    QZRESULT GetKeyState(std::uint32_t virtualKey, bool& held, bool& toggled) const;
    // The display's usable area; E_FAIL, with the area zero, without a display.
    QZRESULT GetWorkArea(WorkArea& area) const;
    // UTC now: year, month, day of the week (0 Sunday), day, hour, minute, second, millisecond.
    QZRESULT GetSystemTime(std::uint32_t (&fields)[8]) const;
    // A modal message box (Platform/Dialogs); the button pressed.
    std::int32_t ShowMessageBox(const WideString& text, const WideString& caption,
                                std::uint32_t style) const;

    // Start-up's layer of the application: subscribes the exit request. 0.
    virtual QZRESULT RunApplicationStartup();
    // The framework's part of start-up, with a control factory: registers the framework's
    // control classes, makes the application hot keys and selects the stored skin (zero skins
    // is a failure). 0, or E_FAIL when any of it throws (what follows the failing step is not
    // done).
    QZRESULT RunFrameworkStartup();
    // Withdraws the exit subscription. 0.
    virtual QZRESULT RunApplicationShutdown();
    // The loop that an exit request ends; null for none.
    void SetEventLoop(IEventLoop* loop) { mEventLoop = loop; }
    // Whether the application agrees to end now.
    [[nodiscard]] virtual bool CanExit() const { return true; }
    [[nodiscard]] bool IsExitRequested() const { return mExitRequested; }
    // Handles "NID_APP_EXIT_REQ": with CanExit, sets the exit flag, stores the main window's
    // placement, ends the modal runs of every root window but the first (the main window), last
    // opened first, and quits the loop with 0.
    void OnExitRequest();

    // ---- root windows, idle passes and modal runs ----
    // Root windows in the order their windows were made; a window already listed stays once.
    void AddRootWindow(const RCPtr<LRootWindow>& window);
    // Removes the window when listed.
    void RemoveRootWindow(const LRootWindow* window);
    // A copy of the list holding its own references, so that walking it survives windows that
    // close meanwhile.
    [[nodiscard]] std::vector<RCPtr<LRootWindow>> GetRootWindows() const;
    // The last listed root window whose window is active, or null.
    [[nodiscard]] RCPtr<LRootWindow> GetActiveRootWindow() const;
    // One idle pass: one pass over the notification queues, then one idle step of every root
    // window from the last to the first (a window closed during the pass is skipped). True
    // while any of them has work left.
    virtual bool Idle(bool firstPass);
    // The pointer in screen coordinates: the active root window's pointer, else where the pointer
    // was last seen over any of the program's windows.
    void GetMousePosition(PointT<long>& position) const;
    // The held buttons (InputState's bits): the active root window's, else the key state's.
    [[nodiscard]] std::uint32_t GetMouseButtons() const;
    // Runs the root window modally in its window until it ends the run; the run's result, or -1
    // for a root window without an operating-system window.
    std::int32_t RunModal(LRootWindow& window);

    // Command lines before and after start-up, and from another start of the program (UTF-8
    // text); the program takes no action on them. 0.
    virtual QZRESULT OnCommandLineBeforeStartup(const WideString& commandLine);
    virtual QZRESULT OnCommandLineAfterStartup(const WideString& commandLine);
    virtual QZRESULT OnCommandLineFromOtherInstance(const WideString& commandLine);
    // The control factory that builds every control from the skins; null until set.
    [[nodiscard]] RCPtr<LControlFactory> GetControlFactory() const;
    void SetControlFactory(const RCPtr<LControlFactory>& factory);

    // ---- windows ----
    // The skin's top control of the main window.
    [[nodiscard]] virtual WideString GetRootControlName() const;
    // Opens (hidden) the main window for the skin's root control: titled with the company name,
    // sized and limited as the skin says, at the placement the user left last time ("WP"), with
    // its root window first in the list. A skin without the root control throws a runtime
    // error; E_FAIL when the window system refuses the window (nothing is left behind).
    QZRESULT CreateMainWindow(std::int32_t rendererType);
    // The main window, or null.
    [[nodiscard]] OSWindow* GetMainWindow() const { return mMainWindow.get(); }
    // Places the main window at the stored placement when it is sound (see WindowPlacement),
    // then fits it on the desktop.
    void RestoreMainWindowPlacement();
    // Opens a window for the control, its client area the control's rectangle taken from the
    // active root window's (else the main window's) client area into the screen and kept inside
    // the work area. A window that is not independent is owned by that root window's, centred
    // over it, and has no sizing border. The new root window's index; E_FAIL (nothing made) without a control, a
    // root window to place it by, or a window.
    std::int32_t CreateRootWindow(const RCPtr<LControl>& control, bool independent, bool closeBox,
                                  bool minimizeBox, bool maximizeBox);

    // ---- skins ----
    // The skin index stored in the user settings; 0 without file or key.
    [[nodiscard]] std::int32_t GetCurrentSkinIndex();
    // Makes the skin current (an index outside the skins there are is limited to them), rebuilds
    // the default font, re-skins every root window (a window closed meanwhile is skipped) and
    // stores the index. Throws a FailedResultException when the desktop has no default font
    // (nothing changed then) or when there is no skin at all.
    void SetSkin(std::int32_t index);

    // ---- the status bar ----
    // The main window's status bar registers itself as it is initialised and withdraws as it
    // goes; null without one.
    [[nodiscard]] RCPtr<LStatusBar> GetStatusBar() const;
    void SetStatusBar(const RCPtr<LStatusBar>& statusBar);
    void WithdrawStatusBar(const LStatusBar* statusBar);
    // Shows the text in the status bar at once (repainting) or at its next idle step; E_FAIL
    // without a main root window or a status bar.
    QZRESULT SetStatusText(const WideString& text, bool now);
    // The same with the status bar's own label text.
    QZRESULT ResetStatusText(bool now);

    // ---- what the controls ask of the shell ----
    // The application-wide hot keys ("GHK" of the application strings), which post their
    // commands to the "application" centre; made at start-up, null before.
    [[nodiscard]] RCPtr<LGlobalHotKeyManager> GetApplicationHotKeys() const;
    // A root window for the control, owned by the active one, run modally (flags 1: with a
    // close box); the run's result, or -1 when no window could be made.
    std::int32_t RunModalControl(const RCPtr<LControl>& control, std::uint32_t flags);
    // Destroys every window the application made (shutdown; before the event loop closes).
    void CloseWindows();
    // The windows, the status bar and the hot keys let go (shutdown).
    void ReleaseShell();

private:
    void WithdrawExitSubscription();
    void LoadApplicationHotKeys();

    const IControlResources* mResources = nullptr;
    std::string mCommandLine;
    std::uint32_t mLanguage = 0;
    RCPtr<LIniFileManager> mIniFileManager;
    RCPtr<LNotificationClient> mExitClient;
    IEventLoop* mEventLoop = nullptr;
    bool mExitRequested = false;
    InputState mInputState;
    // The last pointer position seen in screen coordinates, for a program without active window.
    mutable PointT<long> mLastPointer;
    RCPtr<LRenderer> mRenderer;
    RCPtr<LFont> mApplicationFont;
    RCPtr<LControlFactory> mControlFactory;
    std::vector<RCPtr<LRootWindow>> mRootWindows;
    using OwnedWindow = std::unique_ptr<OSWindow, OSWindowDeleter>;
    [[nodiscard]] static OwnedWindow MakeWindow();

    OwnedWindow mMainWindow;
    // The windows of further root windows; a destroyed one is let go when the next is made.
    std::vector<OwnedWindow> mOtherWindows;
    RCPtr<LStatusBar> mStatusBar;
    RCPtr<LGlobalHotKeyManager> mHotKeys;
    bool mClockStarted = false;
    std::uint32_t mLastMilliseconds = 0;
    double mSeconds = 0.0;
};

} // namespace QZ
