#include "QZFramework/ControlBase/OSWindow.h"

#include "Platform/Graphics2D/Image.h"
#include "Platform/Window/WindowSystem.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/ControlBase/WindowPlacement.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

// The user settings file, where the main window keeps its placement.
constexpr std::int32_t kUserSettingsFile = 1;

LWindowEventLoop& CurrentLoop()
{
    LWindowEventLoop* loop = LWindowEventLoop::GetCurrent();
    if (loop == nullptr)
    {
        QZ_THROW_LOGIC("QZ::OSWindow::OSWindow", "no window event loop is open");
    }
    return *loop;
}

std::u16string_view View(const WideString& text)
{
    return {text.GetString(), static_cast<std::size_t>(text.GetLength())};
}

} // namespace

OSWindow::OSWindow() : mLoop(CurrentLoop()) {}

OSWindow::~OSWindow()
{
    Destroy();
}

std::int32_t OSWindow::CreateEx(std::uint32_t, const WideString&, const WideString& title,
                                std::uint32_t style, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, OSWindow* owner, void*,
                                void*)
{
    if (mId != 0)
    {
        return 0;
    }
    Platform::WindowOptions options;
    options.title = std::u16string(View(title));
    options.client = {x, y, width, height};
    options.resizable = (style & kStyleSizingBorder) != 0;
    options.dialog = owner != nullptr;
    mId = mLoop.GetWindowSystem().CreateWindow(options);
    if (mId == 0)
    {
        return 0;
    }
    mOwner = owner;
    mLoop.Register(*this);
    return static_cast<std::int32_t>(mId);
}

QZRESULT OSWindow::AttachRootWindow(std::int32_t rendererType)
{
    Platform::WindowRect client;
    if (mId == 0 || mRootWindow || !mLoop.GetWindowSystem().GetClientRect(mId, client))
    {
        return E_FAIL;
    }
    const RectT<std::int32_t> viewport(0, 0, client.width, client.height);
    RCPtr<LRenderer> renderer = LRenderer::Create(rendererType, viewport, ToWindowHandle());
    RCPtr<LRenderContextInfo> context;
    if (!renderer ||
        Failed(renderer->InitRenderContextInfo(viewport, ToWindowHandle(), false, context)))
    {
        return E_FAIL;
    }
    mRenderer = renderer;
    mContext = context;
    mRootWindow = RCPtr<LRootWindow>(new LRootWindow(this));
    mRootWindow->SetMeasurementRenderer(mRenderer);
    mRootWindow->GetClientScreenRect();
    if (LApplicationBase* application = LApplicationBase::GetApplication())
    {
        application->AddRootWindow(mRootWindow);
    }
    return S_OK;
}

QZRESULT OSWindow::AttachDialogRootWindow(const RCPtr<LRenderer>& ownerRenderer)
{
    // Each window keeps a renderer of its own, sized to it: one renderer draws one surface.
    return ownerRenderer ? AttachRootWindow(ownerRenderer->GetRendererType()) : E_FAIL;
}

void OSWindow::Destroy()
{
    if (mId == 0)
    {
        return;
    }
    if (mRootWindow)
    {
        if (LApplicationBase* application = LApplicationBase::GetApplication())
        {
            application->RemoveRootWindow(mRootWindow.Get());
        }
        mRootWindow->ReleaseInternalReferences();
        mRootWindow = RCPtr<LRootWindow>();
    }
    mContext = RCPtr<LRenderContextInfo>();
    mRenderer = RCPtr<LRenderer>();
    mLoop.Unregister(*this);
    mLoop.GetWindowSystem().DestroyWindow(mId);
    mId = 0;
}

std::uint64_t OSWindow::GetNativeWindow() const
{
    return mId != 0 ? mLoop.GetWindowSystem().GetNativeWindow(mId) : 0;
}

bool OSWindow::Show()
{
    return mId != 0 && mLoop.GetWindowSystem().Show(mId);
}

void OSWindow::BringToFront()
{
    if (mId != 0)
    {
        mLoop.GetWindowSystem().RestoreIfMinimized(mId);
        mLoop.GetWindowSystem().Raise(mId);
    }
}

// ---- the event loop's side ----

void OSWindow::HandleEvent(const Platform::WindowEvent& event)
{
    using Type = Platform::WindowEventType;
    switch (event.type)
    {
    case Type::MouseMove:
    case Type::MouseDown:
    case Type::MouseUp:
    case Type::Wheel:
        DeliverPointer(event);
        break;
    case Type::KeyDown:
    case Type::KeyUp:
    case Type::Text:
        DeliverKeyboard(event);
        break;
    case Type::SizeChanged:
        OnSizeChanged(event.x, event.y);
        break;
    case Type::Exposed:
        InvalidateAll();
        break;
    case Type::FocusGained:
        mActive = true;
        break;
    case Type::FocusLost:
        mActive = false;
        if (LApplicationBase* application = LApplicationBase::GetApplication())
        {
            application->GetInputState().ReleaseAll();
        }
        if (mRootWindow)
        {
            mRootWindow->OnDeactivated();
        }
        mLoop.GetWindowSystem().CaptureMouse(false);
        break;
    case Type::PointerEntered:
        mPointerInside = true;
        break;
    case Type::PointerLeft:
        mPointerInside = false;
        // The hover ends with the pointer gone, unless a control follows it outside.
        if (mRootWindow && !mRootWindow->GetCapture())
        {
            mRootWindow->SetPointerState({-1, -1}, mRootWindow->GetMouseButtons(),
                                         mRootWindow->GetModifierState());
            mRootWindow->UpdateHover();
        }
        break;
    case Type::Close:
        OnClose();
        break;
    default:
        break;
    }
}

void OSWindow::DeliverPointer(const Platform::WindowEvent& event)
{
    if (!mRootWindow)
    {
        return;
    }
    const PointT<long> position(event.x, event.y);
    LApplicationBase* application = LApplicationBase::GetApplication();
    switch (event.type)
    {
    case Platform::WindowEventType::MouseMove:
        mRootWindow->OnPointerMove(position, event.buttons, event.modifiers);
        break;
    case Platform::WindowEventType::Wheel:
        mRootWindow->SetPointerState(position, event.buttons, event.modifiers);
        mRootWindow->DispatchWheel(
            LMouseWheelParam::Create(event.x, event.y, event.modifiers, event.wheelDirection));
        break;
    default:
    {
        const bool down = event.type == Platform::WindowEventType::MouseDown;
        if (application != nullptr)
        {
            down ? application->GetInputState().OnButtonDown(event.button)
                 : application->GetInputState().OnButtonUp(event.button);
        }
        mRootWindow->OnPointerButton(down, event.button, position, event.buttons, event.modifiers,
                                     event.doubleClick);
        // The window keeps the pointer while a control holds the capture.
        if (mRootWindow)
        {
            mLoop.GetWindowSystem().CaptureMouse(static_cast<bool>(mRootWindow->GetCapture()));
        }
        break;
    }
    }
}

void OSWindow::DeliverKeyboard(const Platform::WindowEvent& event)
{
    KeyCode key;
    if (event.type == Platform::WindowEventType::Text)
    {
        key = KeyCode::FromChar(event.unit, event.modifiers);
    }
    else
    {
        key = {event.key, event.sideModifiers, event.repeat};
        const std::uint32_t virtualKey = (event.key >> 16) & 0xFF;
        if (LApplicationBase* application = LApplicationBase::GetApplication())
        {
            event.type == Platform::WindowEventType::KeyDown
                ? application->GetInputState().OnKeyDown(virtualKey)
                : application->GetInputState().OnKeyUp(virtualKey);
        }
    }
    if (mRootWindow)
    {
        mRootWindow->DeliverKey(key);
    }
}

void OSWindow::ConstrainClientSize(std::int32_t& width, std::int32_t& height) const
{
    const RCPtr<LControl>& root = mRootWindow ? mRootWindow->GetRootControl() : RCPtr<LControl>();
    if (!root)
    {
        return;
    }
    const auto limit = [](std::int32_t& value, double minimum, double maximum)
    {
        const auto low = static_cast<std::int32_t>(minimum);
        const auto high = static_cast<std::int32_t>(maximum);
        value =
            high > 0 ? std::min(std::max(value, low), std::max(high, low)) : std::max(value, low);
    };
    limit(width, root->GetMinSize().x, root->GetMaxSize().x);
    limit(height, root->GetMinSize().y, root->GetMaxSize().y);
}

void OSWindow::OnSizeChanged(std::int32_t width, std::int32_t height)
{
    // The window system may resize a window past what its hints allow (no window manager, or
    // one that ignores them): the size goes back within the root control's limits.
    std::int32_t allowedWidth = width;
    std::int32_t allowedHeight = height;
    ConstrainClientSize(allowedWidth, allowedHeight);
    Platform::WindowRect client;
    if ((allowedWidth != width || allowedHeight != height) &&
        mLoop.GetWindowSystem().GetClientRect(mId, client))
    {
        width = allowedWidth;
        height = allowedHeight;
        mLoop.GetWindowSystem().SetClientRect(mId, {client.x, client.y, width, height});
    }
    if (mContext)
    {
        mContext->SetViewport({0, 0, width, height});
    }
    if (mRootWindow)
    {
        PointT<std::int32_t> origin;
        ClientToScreen(origin, {0, 0});
        mRootWindow->SetClientScreenRect({origin.x, origin.y, width, height});
    }
    InvalidateAll();
}

void OSWindow::OnClose()
{
    if (!mRootWindow)
    {
        return;
    }
    if (IsMainWindow())
    {
        RCPtr<LNotification> request;
        LNotification::Create(request, NID_APP_EXIT_REQ);
        GetApplicationNotificationCenter()->Post(request);
        return;
    }
    // The close box cancels a dialog.
    mRootWindow->EndModal(2);
}

void OSWindow::SavePlacement()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    Platform::WindowRect client;
    // A move that the loop has not read yet counts: a signal can end the program right after one.
    if (application == nullptr || !mLoop.GetWindowSystem().ReadClientRect(mId, client))
    {
        return;
    }
    const std::int32_t file = application->GetSettingsFile(kUserSettingsFile);
    const RCPtr<LIniFileManager> settings = file != 0 ? application->GetIniFileManager() : nullptr;
    if (settings)
    {
        settings->SetIniValueStr(
            file, WindowPlacement::kKey,
            WindowPlacement::Format({client.x, client.y, client.width, client.height}));
        settings->WriteIniFile(file);
    }
}

bool OSWindow::NeedsPaint() const
{
    return !mInvalid.IsEmpty() || (mRootWindow && !mRootWindow->GetDirtyRegion().IsEmpty());
}

QZRESULT OSWindow::Paint()
{
    RegionT invalid;
    std::swap(invalid, mInvalid);
    if (!mRootWindow || !mRenderer || !mContext || mRenderer->GetCurrentContext() != nullptr)
    {
        return E_FAIL;
    }
    RegionT dirty;
    mRootWindow->TakeDirtyRegion(dirty);
    // What is painted is exactly what is shown: an area shown but not painted would show
    // whatever the surface held there.
    RegionT& region = mContext->GetUpdateRegion();
    region.Clear();
    for (const RegionT* part : {&dirty, &invalid})
    {
        for (const RegionRect& rect : *part)
        {
            region.AddRect(rect);
        }
    }
    if (region.IsEmpty())
    {
        return S_FALSE;
    }
    region.Coalesce();
    mRenderer->RenderStart(mContext);
    mRootWindow->Paint(mRenderer, region);
    mRenderer->RenderFinish(mContext);
    return S_OK;
}

void OSWindow::InvalidateAll()
{
    if (mRootWindow)
    {
        const PointT<long> size = mRootWindow->GetClientSize();
        mRootWindow->Invalidate({0, 0, size.x, size.y});
    }
}

// ---- IWindowOSServices ----

void OSWindow::GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                             std::int32_t& height)
{
    Platform::WindowRect client;
    if (mId == 0 || !mLoop.GetWindowSystem().GetClientRect(mId, client))
    {
        client = {};
    }
    x = client.x;
    y = client.y;
    width = client.width;
    height = client.height;
}

void OSWindow::ClientToScreen(PointT<std::int32_t>& out, const PointT<std::int32_t>& point)
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    GetClientRect(x, y, width, height);
    out = {point.x + x, point.y + y};
}

void OSWindow::InvalidateRect(const RectT<long>& rect)
{
    mInvalid.AddRect(RegionRect::FromRect(
        {static_cast<std::int32_t>(rect.x), static_cast<std::int32_t>(rect.y),
         static_cast<std::int32_t>(rect.width), static_cast<std::int32_t>(rect.height)}));
}

QZRESULT OSWindow::RedrawNow()
{
    return mId != 0 && Succeeded(Paint()) ? S_OK : E_FAIL;
}

bool OSWindow::IsActive()
{
    return mActive;
}

std::int32_t OSWindow::RunModalLoop()
{
    if (mId == 0)
    {
        return 0;
    }
    Platform::WindowSystem& system = mLoop.GetWindowSystem();
    const std::uint32_t owner = mOwner != nullptr ? mOwner->mId : 0;
    if (owner != 0)
    {
        system.SetEnabled(owner, false);
        system.SetModalFor(mId, owner);
    }
    mModalEnded = false;
    Show();
    system.Raise(mId);
    InvalidateAll();
    mLoop.RunModal([this] { return mModalEnded; });
    if (owner != 0 && mOwner->mId == owner)
    {
        system.SetEnabled(owner, true);
        system.Raise(owner);
    }
    const std::int32_t result = mModalEnded ? mModalResult : 0;
    Destroy();
    return result;
}

void OSWindow::EndModalLoop(std::int32_t result)
{
    mModalResult = result;
    mModalEnded = true;
}

void* OSWindow::GetWindowHandle()
{
    return mId != 0 ? static_cast<IWindowOSServices*>(this) : nullptr;
}

LCursor OSWindow::SetCursor(LCursor cursor)
{
    const LCursor previous = mCursor;
    mCursor = cursor;
    // 0 is the application's default cursor.
    const LCursor shown = cursor != kNoCursor ? cursor : LoadAppCursor(UI_CURSOR_DEFAULT);
    if (mId != 0)
    {
        mLoop.GetWindowSystem().SetCursor(mId, mLoop.GetCursor(shown));
    }
    return previous;
}

bool OSWindow::SetIcon(const std::vector<std::span<const std::uint8_t>>& pngs)
{
    std::vector<std::unique_ptr<Graphics2D::Image>> images;
    std::vector<Graphics2D::BitmapData> locked;
    std::vector<Platform::PixelBuffer> sizes;
    images.reserve(pngs.size());
    locked.reserve(pngs.size());
    for (const std::span<const std::uint8_t> png : pngs)
    {
        std::unique_ptr<Graphics2D::Image> image;
        Graphics2D::BitmapData data;
        if (Graphics2D::Image::FromMemory(png.data(), png.size(), image) !=
                Graphics2D::Status::Ok ||
            image->LockBits({0, 0, image->GetWidth(), image->GetHeight()}, Graphics2D::LockModeRead,
                            Graphics2D::PixelFormat::Format32bppARGB,
                            data) != Graphics2D::Status::Ok)
        {
            continue;
        }
        sizes.push_back({data.scan0, data.width, data.height, data.stride});
        images.push_back(std::move(image));
        locked.push_back(data);
    }
    const bool set = mId != 0 && !sizes.empty() && mLoop.GetWindowSystem().SetIcon(mId, sizes);
    for (std::size_t i = 0; i < images.size(); ++i)
    {
        images[i]->UnlockBits(locked[i]);
    }
    return set;
}

void OSWindow::SetWindowTitle(const WideString& title)
{
    if (mId != 0)
    {
        mLoop.GetWindowSystem().SetTitle(mId, View(title));
    }
}

void OSWindow::SetClientScreenRect(const RectT<std::int32_t>& rect)
{
    if (mId != 0)
    {
        mLoop.GetWindowSystem().SetClientRect(mId, {rect.x, rect.y, rect.width, rect.height});
    }
}

// ---- IFramePresenter ----

void OSWindow::Present(Graphics2D::Image& frame, std::span<const RectT<std::int32_t>> rectangles)
{
    if (mId == 0 || rectangles.empty())
    {
        return;
    }
    Graphics2D::BitmapData data;
    const Graphics2D::RectI all{0, 0, frame.GetWidth(), frame.GetHeight()};
    if (frame.LockBits(all, Graphics2D::LockModeRead, Graphics2D::PixelFormat::Format32bppPARGB,
                       data) != Graphics2D::Status::Ok)
    {
        return;
    }
    std::vector<Platform::WindowRect> areas;
    areas.reserve(rectangles.size());
    for (const RectT<std::int32_t>& rect : rectangles)
    {
        areas.push_back({rect.x, rect.y, rect.width, rect.height});
    }
    mLoop.GetWindowSystem().Present(mId, {data.scan0, data.width, data.height, data.stride}, areas);
    frame.UnlockBits(data);
}

} // namespace QZ
