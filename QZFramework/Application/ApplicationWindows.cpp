// The application's windows: the main window and the further root windows (dialogs).
#include "QZFramework/Application/ApplicationBase.h"

#include "QZFramework/Application/WindowStyle.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/WindowPlacement.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include <algorithm>

namespace QZ
{
namespace
{

constexpr std::int32_t kUserSettingsFile = 1;

RectT<std::int32_t> ClientRectOf(OSWindow& window)
{
    RectT<std::int32_t> rect;
    window.GetClientRect(rect.x, rect.y, rect.width, rect.height);
    PointT<std::int32_t> origin;
    window.ClientToScreen(origin, PointT<std::int32_t>(0, 0));
    rect.x = origin.x;
    rect.y = origin.y;
    return rect;
}

// The control's rectangle; a control not yet laid out in any window asks for the absolute
// position and size of its skin layout.
RectT<std::int32_t> RequestedRect(const LControl& control)
{
    const PointT<double> position = control.GetPosition();
    const PointT<double> size = control.GetSize();
    RectT<double> rect(position.x, position.y, size.x, size.y);
    if (rect.IsEmpty() && control.GetLayout())
    {
        const LLayoutDescriptor& layout = *control.GetLayout();
        rect = {layout.position[0].absolute, layout.position[1].absolute, layout.size[0].absolute,
                layout.size[1].absolute};
    }
    return rect.ToLong();
}

RectT<std::int32_t> ToRect(const WorkArea& area)
{
    return {area.left, area.top, area.width, area.height};
}

} // namespace

QZRESULT LApplicationBase::CreateMainWindow(std::int32_t rendererType)
{
    const RCPtr<LControlDescriptor> descriptor =
        mControlFactory ? mControlFactory->FindSkinSubControl(GetRootControlName())
                        : RCPtr<LControlDescriptor>();
    if (!descriptor)
    {
        QZ_THROW_RUNTIME("QZ::LApplicationBase::CreateMainWindow", "Null Pointer",
                         "Invalid Control Name");
    }
    const LLayoutDescriptor& layout = *descriptor->layout;
    auto window = MakeWindow();
    const auto whole = [](double value) { return static_cast<std::int32_t>(value); };
    if (window->CreateEx(0, GetApplicationName(), GetProductName(), MainWindowStyle(layout),
                         whole(layout.position[0].absolute), whole(layout.position[1].absolute),
                         whole(layout.size[0].absolute), whole(layout.size[1].absolute), nullptr,
                         nullptr, nullptr) == 0)
    {
        return E_FAIL;
    }
    // A desktop without icons for its windows still shows them: the result is not needed.
    static_cast<void>(window->SetIcon(GetAppIcon()));
    const QZRESULT attached = window->AttachRootWindow(rendererType);
    if (Failed(attached))
    {
        return attached;
    }
    // Text is measured with the main window's renderer: without it every label would lay out
    // with no width and no line height.
    mRenderer = window->GetRenderer();
    mMainWindow = std::move(window);
    RestoreMainWindowPlacement();
    return attached;
}

void LApplicationBase::RestoreMainWindowPlacement()
{
    if (!mMainWindow)
    {
        return;
    }
    const RCPtr<LControlDescriptor> descriptor =
        mControlFactory ? mControlFactory->FindSkinSubControl(GetRootControlName())
                        : RCPtr<LControlDescriptor>();
    const SizeLimits limits = descriptor ? GetSizeLimits(*descriptor->layout) : SizeLimits();
    WorkArea work;
    static_cast<void>(GetWorkArea(work));
    const RectT<std::int32_t> desktop = ToRect(work);
    RectT<std::int32_t> rect = ClientRectOf(*mMainWindow);

    const std::int32_t file = GetSettingsFile(kUserSettingsFile);
    WideString text;
    RectT<std::int32_t> stored;
    if (file != 0 &&
        Succeeded(
            GetIniFileManager()->GetIniValueStr(file, WindowPlacement::kKey, WideString(), text)) &&
        WindowPlacement::Parse(text, desktop, stored) &&
        IsWithinLimits(limits, stored.width, stored.height))
    {
        rect = stored;
    }
    if (!desktop.IsEmpty())
    {
        // A window larger than the desktop is shortened to it, as far as its limits allow.
        rect.width = std::max(std::min(rect.width, desktop.width), limits.minWidth);
        rect.height = std::max(std::min(rect.height, desktop.height), limits.minHeight);
        rect = KeepInside(rect, desktop);
    }
    mMainWindow->SetClientScreenRect(rect);
}

std::int32_t LApplicationBase::CreateRootWindow(const RCPtr<LControl>& control, bool independent,
                                                bool closeBox, bool minimizeBox, bool maximizeBox)
{
    // Checked before any window is made, so that a failure leaves nothing behind.
    if (!control)
    {
        return E_FAIL;
    }
    const ConstRCPtr<LControlDescriptor> descriptor = control->GetDescriptor();
    if (independent && !descriptor)
    {
        QZ_THROW_RUNTIME("QZ::LApplicationBase::CreateRootWindow", "Null Pointer",
                         "Control descriptor is null");
    }
    // While none of the program's windows has the keyboard (the user works in another program),
    // a new window belongs to the one in front of the others: the innermost open dialog, which
    // it must block, or the main window.
    RCPtr<LRootWindow> parent = GetActiveRootWindow();
    if (!parent && !mRootWindows.empty())
    {
        parent = mRootWindows.back();
    }
    auto* parentWindow = parent ? dynamic_cast<OSWindow*>(parent->GetOSServices()) : nullptr;
    if (parentWindow == nullptr)
    {
        return E_FAIL;
    }
    std::erase_if(mOtherWindows, [](const OwnedWindow& window) { return window->GetId() == 0; });

    const bool sizingBorder = independent && HasSizingBorder(*descriptor->layout);
    const std::uint32_t style = RootWindowStyle(sizingBorder, closeBox, minimizeBox, maximizeBox);
    const RectT<std::int32_t> area = RequestedRect(*control);
    PointT<std::int32_t> origin;
    parentWindow->ClientToScreen(origin, PointT<std::int32_t>(area.x, area.y));
    RectT<std::int32_t> placed(origin.x, origin.y, area.width, area.height);
    if (!independent)
    {
        // A dialog opens centred over the window it belongs to, as desktop dialogs do.
        const RectT<std::int32_t> owner = ClientRectOf(*parentWindow);
        placed.x = owner.x + (owner.width - area.width) / 2;
        placed.y = owner.y + (owner.height - area.height) / 2;
    }
    WorkArea work;
    if (Succeeded(GetWorkArea(work)))
    {
        placed = KeepInside(placed, ToRect(work));
    }

    const std::size_t count = mRootWindows.size();
    auto window = MakeWindow();
    if (window->CreateEx(independent ? 0 : 1, WideString(u"QZFrameworkWindow"), control->GetText(),
                         style, placed.x, placed.y, placed.width, placed.height,
                         independent ? nullptr : parentWindow, nullptr, nullptr) == 0)
    {
        return E_FAIL;
    }
    static_cast<void>(window->SetIcon(GetAppIcon()));
    if (Failed(window->AttachDialogRootWindow(parentWindow->GetRenderer())) ||
        mRootWindows.size() != count + 1)
    {
        return E_FAIL;
    }
    static_cast<void>(window->GetRootWindow()->SetRootControl(control));
    mOtherWindows.push_back(std::move(window));
    return static_cast<std::int32_t>(count);
}

std::int32_t LApplicationBase::RunModalControl(const RCPtr<LControl>& control, std::uint32_t flags)
{
    const bool closeBox = (flags & 1) != 0;
    const std::int32_t index = CreateRootWindow(control, false, closeBox, false, false);
    if (index < 0 || static_cast<std::size_t>(index) >= mRootWindows.size())
    {
        return -1;
    }
    const RCPtr<LRootWindow> window = mRootWindows[static_cast<std::size_t>(index)];
    return RunModal(*window);
}

void LApplicationBase::GetMousePosition(PointT<long>& position) const
{
    const RCPtr<LRootWindow> active = GetActiveRootWindow();
    IWindowOSServices* services = active ? active->GetOSServices() : nullptr;
    if (services != nullptr)
    {
        PointT<long> client;
        active->GetMousePosition(client);
        PointT<std::int32_t> screen;
        services->ClientToScreen(screen, PointT<std::int32_t>(static_cast<std::int32_t>(client.x),
                                                              static_cast<std::int32_t>(client.y)));
        mLastPointer = PointT<long>(screen.x, screen.y);
    }
    position = mLastPointer;
}

std::uint32_t LApplicationBase::GetMouseButtons() const
{
    const RCPtr<LRootWindow> active = GetActiveRootWindow();
    if (active)
    {
        return active->GetMouseButtons();
    }
    // The key numbers of the buttons: 0x01 left, 0x04 middle, 0x02 right.
    constexpr std::uint32_t kButtonKeys[3][2] = {{0x01, InputState::kLeftButton},
                                                 {0x04, InputState::kMiddleButton},
                                                 {0x02, InputState::kRightButton}};
    std::uint32_t buttons = 0;
    for (const auto& [key, bit] : kButtonKeys)
    {
        bool held = false;
        bool toggled = false;
        static_cast<void>(GetKeyState(key, held, toggled));
        buttons |= held ? bit : 0u;
    }
    return buttons;
}

LApplicationBase::OwnedWindow LApplicationBase::MakeWindow()
{
    return OwnedWindow(new OSWindow(), OSWindowDeleter{[](OSWindow* window) { delete window; }});
}

void LApplicationBase::CloseWindows()
{
    mOtherWindows.clear();
    mMainWindow.reset();
    mRenderer = RCPtr<LRenderer>();
}

void LApplicationBase::ReleaseShell()
{
    CloseWindows();
    mStatusBar = RCPtr<LStatusBar>();
    mHotKeys = RCPtr<LGlobalHotKeyManager>();
}

} // namespace QZ
