#include "QZFramework/Application/ApplicationBase.h"

#include "Platform/Dialogs/MessageBox.h"
#include "Platform/Graphics2D/FontFamily.h"
#include "Platform/Locale/Locale.h"
#include "Platform/Resources/Resources.h"
#include "Platform/Shell/DisplayBounds.h"
#include "QZFramework/Application/ApplicationFolders.h"
#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/Application/EventLoop.h"
#include "QZFramework/Application/Version.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/StatusBar.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <string_view>

namespace QZ
{
namespace
{

std::atomic<LApplicationBase*> gApplication{nullptr};

// The interface font size of the desktop the program was made for: an icon-title font of
// 12 pixels at 96 dots per inch.
constexpr float kDefaultFontPoints = 9.0f;

// Hands the application's exit request to it; everything else is not its business.
class ExitRequestClient : public LNotificationClient
{
public:
    explicit ExitRequestClient(LApplicationBase& application) : mApplication(application) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        if (notification && std::u16string_view(notification->GetID()) == NID_APP_EXIT_REQ)
        {
            mApplication.OnExitRequest();
        }
    }

private:
    LApplicationBase& mApplication;
};

RCPtr<LNotificationDistributor> GetApplicationCenter()
{
    return RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter());
}

} // namespace

const WideString& GetApplicationName()
{
    static const WideString name(u"Korvane_Tarn 61 Vidida Editor");
    return name;
}

CursorHandle LoadAppCursor(const char16_t* name)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetCursor(name) : kCursorArrow;
}

LApplicationBase::LApplicationBase()
    : LApplicationBase(ApplicationStartup{nullptr, std::string(), Locale::GetUserLanguage()})
{
}

LApplicationBase::LApplicationBase(const ApplicationStartup& startup)
    : mResources(startup.resources), mCommandLine(startup.commandLine), mLanguage(startup.language),
      mControlFactory(startup.resources != nullptr ? startup.resources->GetControlFactory()
                                                   : RCPtr<LControlFactory>())
{
    LApplicationBase* none = nullptr;
    if (!gApplication.compare_exchange_strong(none, this))
    {
        QZ_THROW_LOGIC("QZ::LApplicationBase::LApplicationBase",
                       "an application object already exists");
    }
}

LApplicationBase::~LApplicationBase()
{
    WithdrawExitSubscription();
    LNotification::EnablePooling(false);
    if (mIniFileManager)
    {
        static_cast<void>(mIniFileManager->Uninitialize());
    }
    LApplicationBase* self = this;
    gApplication.compare_exchange_strong(self, nullptr);
}

LApplicationBase* LApplicationBase::GetApplication()
{
    return gApplication.load();
}

RCPtr<LControlFactory> LApplicationBase::GetControlFactory() const
{
    return mControlFactory;
}

void LApplicationBase::SetControlFactory(const RCPtr<LControlFactory>& factory)
{
    mControlFactory = factory;
}

std::uint32_t LApplicationBase::GetTimeMilliseconds() const
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

double LApplicationBase::GetTimeSeconds()
{
    const std::uint32_t now = GetTimeMilliseconds();
    if (mClockStarted)
    {
        mSeconds += static_cast<std::uint32_t>(now - mLastMilliseconds) / 1000.0;
    }
    mClockStarted = true;
    mLastMilliseconds = now;
    return mSeconds;
}

QZRESULT LApplicationBase::GetDefaultFont(WideString& face, float& size, std::int32_t& style) const
{
    Graphics2D::FontFamily family;
    if (Graphics2D::FontFamily::GenericSansSerif(family) != Graphics2D::Status::Ok)
    {
        return E_FAIL;
    }
    face = WideString(family.GetName().c_str());
    size = kDefaultFontPoints;
    style = 0;
    return S_OK;
}

WideString LApplicationBase::GetCompanyName() const
{
    return Version().GetCompanyName();
}

WideString LApplicationBase::GetProductName() const
{
    return Version().GetProductName();
}

WideString LApplicationBase::GetProductVersion() const
{
    return Version().GetProductVersion();
}

WideString LApplicationBase::GetApplicationTitle() const
{
    return GetProductName();
}

WideString LApplicationBase::GetFolder(std::int32_t id) const
{
    return GetApplicationFolder(id, GetCompanyName(), GetProductName());
}

std::int32_t LApplicationBase::GetSettingsFile(std::int32_t)
{
    return 0;
}

RCPtr<LIniFileManager> LApplicationBase::GetIniFileManager()
{
    if (!mIniFileManager)
    {
        mIniFileManager = new LIniFileManager();
        // Without its library the store answers E_FAIL and the program runs on defaults.
        static_cast<void>(mIniFileManager->Initialize(WideString()));
    }
    return mIniFileManager;
}

CursorHandle LApplicationBase::GetCursor(const char16_t* name) const
{
    return GetStandardCursor(name);
}

std::vector<std::span<const std::uint8_t>> LApplicationBase::GetAppIcon() const
{
    std::vector<std::span<const std::uint8_t>> sizes;
    for (const char* name : {"APPICON-16_PNG", "APPICON-24_PNG", "APPICON-32_PNG", "APPICON-48_PNG",
                             "APPICON-64_PNG", "APPICON-128_PNG", "APPICON-256_PNG"})
    {
        std::span<const std::uint8_t> png;
        if (Resources::FindResource("ICON", name, png))
        {
            sizes.push_back(png);
        }
    }
    return sizes;
}

QZRESULT LApplicationBase::GetKeyState(std::uint32_t virtualKey, bool& held, bool& toggled) const
{
    mInputState.GetKeyState(virtualKey, held, toggled);
    return S_OK;
}

QZRESULT LApplicationBase::GetWorkArea(WorkArea& area) const
{
    Shell::DisplayArea display;
    const bool found = Shell::GetUsableDisplayBounds(display);
    area = WorkArea{display.left, display.top, display.width, display.height};
    return found ? S_OK : E_FAIL;
}

QZRESULT LApplicationBase::GetSystemTime(std::uint32_t (&fields)[8]) const
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const int values[8] = {
        utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_wday, utc.tm_mday,
        utc.tm_hour,        utc.tm_min,     utc.tm_sec,  static_cast<int>(milliseconds)};
    for (int i = 0; i < 8; ++i)
    {
        fields[i] = static_cast<std::uint32_t>(values[i]);
    }
    return S_OK;
}

std::int32_t LApplicationBase::ShowMessageBox(const WideString& text, const WideString& caption,
                                              std::uint32_t style) const
{
    return Dialogs::ShowMessageBox(text.ToNarrowString().GetString(),
                                   caption.ToNarrowString().GetString(), style);
}

QZRESULT LApplicationBase::RunApplicationStartup()
{
    if (!mExitClient)
    {
        mExitClient = new ExitRequestClient(*this);
        mExitClient->Subscribe(GetApplicationCenter(), NID_APP_EXIT_REQ, 0);
    }
    return S_OK;
}

WideString LApplicationBase::GetRootControlName() const
{
    return WideString(u"mainControl");
}

QZRESULT LApplicationBase::RunApplicationShutdown()
{
    WithdrawExitSubscription();
    return S_OK;
}

void LApplicationBase::WithdrawExitSubscription()
{
    if (mExitClient)
    {
        mExitClient->UnsubscribeAll();
        mExitClient = nullptr;
    }
}

void LApplicationBase::OnExitRequest()
{
    if (!CanExit())
    {
        return;
    }
    mExitRequested = true;
    // Every road out (the menu, its hot key, the close box, the desktop's request to end) passes
    // here, so the next start finds the window where it was left.
    if (mMainWindow)
    {
        mMainWindow->SavePlacement();
    }
    const std::vector<RCPtr<LRootWindow>> windows = mRootWindows;
    for (std::size_t i = windows.size(); i > 1; --i)
    {
        windows[i - 1]->EndModal(0);
    }
    if (mEventLoop != nullptr)
    {
        mEventLoop->Quit(0);
    }
}

QZRESULT LApplicationBase::OnCommandLineBeforeStartup(const WideString&)
{
    return S_OK;
}

QZRESULT LApplicationBase::OnCommandLineAfterStartup(const WideString&)
{
    return S_OK;
}

QZRESULT LApplicationBase::OnCommandLineFromOtherInstance(const WideString&)
{
    return S_OK;
}

// ---- root windows, idle passes and modal runs ----

void LApplicationBase::AddRootWindow(const RCPtr<LRootWindow>& window)
{
    if (window && std::find(mRootWindows.begin(), mRootWindows.end(), window) == mRootWindows.end())
    {
        mRootWindows.push_back(window);
    }
}

void LApplicationBase::RemoveRootWindow(const LRootWindow* window)
{
    const auto found =
        std::find_if(mRootWindows.begin(), mRootWindows.end(),
                     [window](const RCPtr<LRootWindow>& listed) { return listed.Get() == window; });
    if (found != mRootWindows.end())
    {
        mRootWindows.erase(found);
    }
}

std::vector<RCPtr<LRootWindow>> LApplicationBase::GetRootWindows() const
{
    return mRootWindows;
}

RCPtr<LRootWindow> LApplicationBase::GetActiveRootWindow() const
{
    for (auto window = mRootWindows.rbegin(); window != mRootWindows.rend(); ++window)
    {
        if ((*window)->IsActive())
        {
            return *window;
        }
    }
    return RCPtr<LRootWindow>();
}

bool LApplicationBase::Idle(bool firstPass)
{
    bool more = LNotificationCenterManager::GetInstance()->ProcessQueues(firstPass);
    const std::vector<RCPtr<LRootWindow>> windows = mRootWindows;
    for (auto window = windows.rbegin(); window != windows.rend(); ++window)
    {
        if (std::find(mRootWindows.begin(), mRootWindows.end(), *window) != mRootWindows.end())
        {
            more = (*window)->Idle(firstPass) || more;
        }
    }
    return more;
}

std::int32_t LApplicationBase::RunModal(LRootWindow& window)
{
    IWindowOSServices* services = window.GetOSServices();
    return services != nullptr ? services->RunModalLoop() : -1;
}

} // namespace QZ
