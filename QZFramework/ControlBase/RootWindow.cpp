#include "QZFramework/ControlBase/RootWindow.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/ControlBase/ToolTipInterface.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"
#include "QZFramework/Renderer/AutoClip.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace QZ
{

// The target of the window's hot keys; it lets the window go when the window goes.
class LRootWindow::CommandReceiver : public LNotificationReceiver
{
public:
    explicit CommandReceiver(LRootWindow* window) : mWindow(window) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        if (mWindow != nullptr && notification)
        {
            mWindow->TakeCommand(notification);
        }
    }
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>&, const char16_t*) override
    {
        return E_FAIL;
    }
    void Detach() { mWindow = nullptr; }

private:
    LRootWindow* mWindow;
};

LRootWindow::LRootWindow(IWindowOSServices* services)
    : mCommandReceiver(new CommandReceiver(this)), mServices(services)
{
    LGlobalHotKeyManager::Create(mHotKeys, RCPtr<LNotificationReceiver>(mCommandReceiver));
}

LRootWindow::~LRootWindow()
{
    mCommandReceiver->Detach();
}

RCPtr<LControl>& LRootWindow::HitTest(RCPtr<LControl>& out, std::int32_t x, std::int32_t y,
                                      PointT<long>& point, std::int32_t)
{
    out = RCPtr<LControl>();
    point = PointT<long>();
    if (mRootControl)
    {
        std::int32_t bestZ = std::numeric_limits<std::int32_t>::min();
        const PointT<std::int32_t> at = mRootControl->GetPosition().ToLong();
        mRootControl->FindControlAtPoint(out, {x - at.x, y - at.y}, true, point, bestZ);
    }
    return out;
}

QZRESULT LRootWindow::ReleaseInternalReferences()
{
    mFocused = RCPtr<LControl>();
    mPreviousFocused = RCPtr<LControl>();
    mCapture = RCPtr<LControl>();
    mWheelFallback = RCPtr<LControl>();
    mHover = RCPtr<LControl>();
    mToolTipSource = RCPtr<LControl>();
    DetachRootControl();
    UnsubscribeAllClients();
    return LRefCountedObject::ReleaseInternalReferences();
}

// ---- tree ----

QZRESULT LRootWindow::CreateRootControl(const WideString& name)
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    if (!factory)
    {
        return E_FAIL;
    }
    const RCPtr<LControlDescriptor>& descriptor = factory->FindSkinSubControl(name);
    if (!descriptor)
    {
        return E_FAIL;
    }
    RCPtr<LControl> control;
    factory->CreateControl(control, descriptor, RCPtr<LControl>());
    if (!control)
    {
        return E_FAIL;
    }
    return SetRootControl(control);
}

QZRESULT LRootWindow::SetRootControl(const RCPtr<LControl>& control)
{
    if (control == mRootControl)
    {
        return S_FALSE;
    }
    DetachRootControl();
    mRootControl = control;
    if (mRootControl)
    {
        LoadHotKeys();
        mRootControl->SetRootWindow(RCPtr<LRootWindow>(this));
        mRootControl->UpdateLayout();
    }
    const PointT<long> size = GetClientSize();
    Invalidate({0, 0, size.x, size.y});
    return S_OK;
}

void LRootWindow::DetachRootControl()
{
    const RCPtr<LControl> control = mRootControl;
    mRootControl = RCPtr<LControl>();
    if (control)
    {
        control->SetRootWindow(RCPtr<LRootWindow>());
    }
}

bool LRootWindow::Contains(const LControl& control) const
{
    const LControl* top = &control;
    while (top->GetParent())
    {
        top = top->GetParent().Get();
    }
    return mRootControl && top == mRootControl.Get();
}

// ---- geometry ----

PointT<long> LRootWindow::GetClientSize() const
{
    return {mClientRect.width, mClientRect.height};
}

PointT<long> LRootWindow::GetClientOrigin() const
{
    return {mClientRect.x, mClientRect.y};
}

RectT<std::int32_t> LRootWindow::GetClientScreenRect()
{
    if (mServices != nullptr)
    {
        RectT<std::int32_t> rect;
        mServices->GetClientRect(rect.x, rect.y, rect.width, rect.height);
        PointT<std::int32_t> origin;
        mServices->ClientToScreen(origin, {0, 0});
        mClientRect = {origin.x, origin.y, rect.width, rect.height};
    }
    return mClientRect;
}

void LRootWindow::SetClientScreenRect(const RectT<std::int32_t>& rect)
{
    const bool resized = rect.width != mClientRect.width || rect.height != mClientRect.height;
    mClientRect = rect;
    if (resized && mRootControl && !mRequestingRect)
    {
        mRootControl->OnResize();
        Invalidate({0, 0, rect.width, rect.height});
    }
}

QZRESULT LRootWindow::SetWindowRect(const RectT<std::int32_t>& rect)
{
    if (rect == mClientRect)
    {
        return S_FALSE;
    }
    if (mServices != nullptr)
    {
        mServices->SetClientScreenRect(rect);
    }
    // The root control asked for this size: laying it out again against it would feed a root
    // sized relative to the window back into the window without end.
    const bool requesting = mRequestingRect;
    mRequestingRect = true;
    SetClientScreenRect(rect);
    mRequestingRect = requesting;
    return S_OK;
}

void LRootWindow::SetWindowTitle(const WideString& title)
{
    mTitle = title;
    if (mServices != nullptr)
    {
        mServices->SetWindowTitle(title);
    }
}

// ---- pointer, keyboard modifiers and cursor ----

void LRootWindow::SetPointerState(const PointT<long>& position, std::uint32_t buttons,
                                  std::uint32_t modifiers)
{
    mPointer = position;
    mButtons = buttons;
    mModifiers = modifiers;
}

void LRootWindow::GetMousePosition(PointT<long>& position) const
{
    position = mServices != nullptr ? mPointer : PointT<long>();
}

LCursor LRootWindow::SetCursor(LCursor cursor)
{
    const LCursor previous = mServices != nullptr ? mServices->SetCursor(cursor) : mCursor;
    mCursor = cursor;
    return previous;
}

// ---- focus and capture ----

void LRootWindow::SetFocusedControl(const RCPtr<LControl>& control)
{
    mFocused = control;
}

void LRootWindow::ClearFocus()
{
    if (mFocused)
    {
        mPreviousFocused = mFocused;
    }
    mFocused = RCPtr<LControl>();
}

void LRootWindow::ResetFocus()
{
    const RCPtr<LControl> root = mRootControl;
    if (root)
    {
        // Clears the focus along the whole chain, so the root takes it afresh.
        root->KillFocus();
    }
    ClearFocus();
    if (root)
    {
        root->SetFocus(true);
    }
}

void LRootWindow::RestoreFocus()
{
    const RCPtr<LControl> previous = mPreviousFocused;
    if (previous && Contains(*previous))
    {
        previous->SetFocus(true);
    }
}

void LRootWindow::SetCapture(const RCPtr<LControl>& control)
{
    mCapture = control;
}

QZRESULT LRootWindow::ReleaseCapture()
{
    mCapture = RCPtr<LControl>();
    return S_OK;
}

QZRESULT LRootWindow::OnTabTraversalEnd(bool forward)
{
    const RCPtr<LControl> root = mRootControl;
    if (!root || !(root->IsFocusable() || root->HasFocusableDescendant()))
    {
        return S_FALSE;
    }
    // The focus leaves the control it is on, so that the root hands it to its first (last)
    // focusable descendant again rather than keeping it where it is.
    const RCPtr<LControl> focused = mFocused;
    if (focused && !focused->CanReleaseFocus())
    {
        return S_FALSE;
    }
    root->KillFocus();
    ClearFocus();
    return root->SetFocus(forward) == S_OK ? S_OK : S_FALSE;
}

// ---- wheel ----

QZRESULT LRootWindow::DispatchWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel)
    {
        return E_INVALIDARG;
    }
    const std::uint32_t direction = wheel->GetDirection();
    const auto offer = [direction, &wheel](LControl& control)
    {
        return direction < 2 ? control.NotifyMouseWheelVertical(wheel)
                             : control.NotifyMouseWheelHorizontal(wheel);
    };
    RCPtr<LControl> target = mCapture;
    if (!target)
    {
        PointT<long> point;
        HitTest(target, wheel->GetX(), wheel->GetY(), point, 1);
    }
    QZRESULT result = target ? offer(*target) : S_FALSE;
    if (result == S_FALSE && mWheelFallback)
    {
        result = offer(*mWheelFallback);
    }
    return result;
}

// ---- painting and invalidation ----

QZRESULT LRootWindow::Paint(const RCPtr<LRenderer>& renderer, const RegionT& dirty)
{
    if (!mRootControl || !renderer || renderer->GetCurrentState() == nullptr || dirty.IsEmpty())
    {
        return S_FALSE;
    }
    // Each rectangle is painted on its own, clipped to itself. A control's looks fill the whole
    // clip, while only the controls that meet the region are painted: one clip around two
    // rectangles apart would cover what lies between them with parents drawn without their
    // children.
    RegionT areas(dirty);
    areas.Coalesce();
    QZRESULT result = S_OK;
    for (const RegionRect& rect : areas)
    {
        const QZRESULT painted = PaintArea(renderer, rect);
        if (Failed(painted) && Succeeded(result))
        {
            result = painted;
        }
    }
    return result;
}

QZRESULT LRootWindow::PaintArea(const RCPtr<LRenderer>& renderer, const RegionRect& area)
{
    RegionT dirty;
    dirty.AddRect(area);
    // Nothing outside the area is drawn: without the clip a one-control repaint would fill the
    // whole window with the root's look.
    const RectT<double> bounds(static_cast<double>(area.left), static_cast<double>(area.top),
                               static_cast<double>(area.right - area.left),
                               static_cast<double>(area.bottom - area.top));
    const CAutoClip clip(renderer, {0.0, 0.0, bounds.x + bounds.width, bounds.y + bounds.height},
                         bounds, RCPtr<LStencil>());
    std::vector<RCPtr<LControl>> layer;
    const QZRESULT result = mRootControl->Paint(renderer, dirty, layer, false);
    // Painting a member may add more members; those are painted the same way, after it.
    for (std::size_t done = 0; done < layer.size();)
    {
        const std::size_t end = layer.size();
        std::stable_sort(layer.begin() + static_cast<std::ptrdiff_t>(done), layer.end(),
                         [](const RCPtr<LControl>& a, const RCPtr<LControl>& b)
                         { return a->GetLayout()->zOrder < b->GetLayout()->zOrder; });
        for (; done < end; ++done)
        {
            const RCPtr<LControl> control = layer[done];
            // The control's Paint moves by its own position, so the origin goes to its parent's
            // content origin (a pushed offset keeps the clip where it is on the screen).
            const PointT<double> at = control->GetPositionInRoot();
            const PointT<double> current = renderer->GetCurrentState()->origin;
            CAutoClip::ClipDescription offset;
            offset.flavor = CAutoClip::kFlavorOffset;
            offset.offset = {at.x - control->GetPosition().x - current.x,
                             at.y - control->GetPosition().y - current.y};
            const CAutoClip moved(renderer, offset);
            renderer->GetCurrentState()->alpha = control->GetOpacity();
            control->Paint(renderer, dirty, layer, true);
        }
    }
    return result;
}

void LRootWindow::Invalidate(const RectT<long>& rect)
{
    const RectT<long> area(0, 0, mClientRect.width, mClientRect.height);
    RectT<long> clipped;
    if (!RectT<long>::Intersect(clipped, rect, area))
    {
        return;
    }
    mDirty.AddRect(RegionRect::FromRect(RectT<std::int32_t>(
        static_cast<std::int32_t>(clipped.x), static_cast<std::int32_t>(clipped.y),
        static_cast<std::int32_t>(clipped.width), static_cast<std::int32_t>(clipped.height))));
    if (mServices != nullptr)
    {
        mServices->InvalidateRect(clipped);
    }
}

QZRESULT LRootWindow::InvalidateAllAndRedraw()
{
    Invalidate({0, 0, mClientRect.width, mClientRect.height});
    return mServices != nullptr ? mServices->RedrawNow() : S_OK;
}

void LRootWindow::TakeDirtyRegion(RegionT& dirty)
{
    dirty = std::move(mDirty);
    mDirty.Clear();
}

// ---- modal runs and idle ----

void LRootWindow::EndModal(std::int32_t result)
{
    if (mServices != nullptr)
    {
        mModalResult = result;
        mEndModalPending = true;
    }
}

bool LRootWindow::Idle(bool sendIdle)
{
    DeliverQueuedCommands();
    if (mEndModalPending)
    {
        mEndModalPending = false;
        mServices->EndModalLoop(mModalResult);
    }
    if (sendIdle)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_IDLE);
        Distribute(notification);
    }
    return false;
}

// ---- pointer input and hover ----

namespace
{

// A point of the client area in the control's own coordinates.
PointT<long> ToControlPoint(const LControl& control, const RCPtr<LControl>& root,
                            const PointT<long>& position)
{
    const PointT<std::int32_t> rootAt = root->GetPosition().ToLong();
    const PointT<std::int32_t> at = control.GetPositionInRoot().ToLong();
    return {position.x - rootAt.x - at.x, position.y - rootAt.y - at.y};
}

// A tooltip belongs to the control that shows it, and parts drawn for their parent explain
// nothing of their own: the control whose help the pointer asks for.
RCPtr<LControl> ToolTipOwner(RCPtr<LControl> control)
{
    while (control && control->GetParent() &&
           (control->UsesParentToolTip() || dynamic_cast<IToolTip*>(control.Get()) != nullptr))
    {
        control = control->GetParent();
    }
    return control;
}

} // namespace

void LRootWindow::SetHover(const RCPtr<LControl>& control)
{
    if (control == mHover)
    {
        return;
    }
    const RCPtr<LControl> left = mHover;
    mHover = control;
    if (left)
    {
        left->OnMouseLeave();
    }
    if (control && mHover == control)
    {
        control->OnMouseEnter();
    }
    UpdateToolTipSource();
}

RCPtr<LControl> LRootWindow::FindToolTipSource() const
{
    // A transparent part (a label's text) lets the pointer through to the control behind it,
    // but its help is its own: the deepest control under the pointer with help text speaks.
    RCPtr<LControl> source = mHover;
    RCPtr<LControl> at = mHover;
    while (at && mRootControl)
    {
        RCPtr<LControl> inner;
        const LControl::ChildControlList& children = at->GetChildren();
        for (std::uint32_t i = children.GetCount(); i-- > 0 && !inner;)
        {
            const RCPtr<LControl>& child = children.GetAt(i, LControl::kPaintOrder);
            if (child->IsShowing(false) && dynamic_cast<IToolTip*>(child.Get()) == nullptr &&
                child->HitTest(ToControlPoint(*child, mRootControl, mPointer)))
            {
                inner = child;
            }
        }
        at = inner;
        if (at && !at->GetToolTipText().IsEmpty())
        {
            source = at;
        }
    }
    return ToolTipOwner(source);
}

void LRootWindow::UpdateToolTipSource()
{
    // The pointer resting on a control with help text shows it after the tooltip's delay;
    // moving to another control takes it away.
    const RCPtr<LControl> source = FindToolTipSource();
    if (source == mToolTipSource)
    {
        return;
    }
    const RCPtr<LControl> before = mToolTipSource;
    mToolTipSource = source;
    if (before)
    {
        before->UpdateToolTip(false);
    }
    if (source)
    {
        source->UpdateToolTip(true);
    }
}

void LRootWindow::HideToolTip()
{
    if (mToolTipSource)
    {
        mToolTipSource->UpdateToolTip(false);
    }
}

void LRootWindow::UpdateHover()
{
    // Enter and leave re-evaluate the hover themselves; the outer call already does.
    if (mUpdatingHover)
    {
        return;
    }
    mUpdatingHover = true;
    RCPtr<LControl> hit;
    PointT<long> point;
    HitTest(hit, static_cast<std::int32_t>(mPointer.x), static_cast<std::int32_t>(mPointer.y),
            point, 1);
    SetHover(!mCapture || hit == mCapture ? hit : RCPtr<LControl>());
    mUpdatingHover = false;
}

void LRootWindow::OnPointerMove(const PointT<long>& position, std::uint32_t buttons,
                                std::uint32_t modifiers)
{
    SetPointerState(position, buttons, modifiers);
    UpdateHover();
    UpdateToolTipSource();
    const RCPtr<LControl> target = mCapture ? mCapture : mHover;
    if (target && mRootControl)
    {
        const PointT<long> local = ToControlPoint(*target, mRootControl, position);
        target->NotifyMouseMove(LPointWithModifiersParam::Create(
            static_cast<std::int32_t>(local.x), static_cast<std::int32_t>(local.y), modifiers));
    }
}

void LRootWindow::OnPointerButton(bool down, std::uint32_t button, const PointT<long>& position,
                                  std::uint32_t buttons, std::uint32_t modifiers, bool doubleClick)
{
    SetPointerState(position, buttons, modifiers);
    if (!mRootControl)
    {
        return;
    }
    if (down)
    {
        HideToolTip();
    }
    RCPtr<LControl> target = mCapture;
    PointT<long> local;
    if (target)
    {
        local = ToControlPoint(*target, mRootControl, position);
    }
    else
    {
        HitTest(target, static_cast<std::int32_t>(position.x),
                static_cast<std::int32_t>(position.y), local, 1);
    }
    if (target)
    {
        const RCPtr<LMouseButtonParam> event = LMouseButtonParam::Create(
            static_cast<std::int32_t>(local.x), static_cast<std::int32_t>(local.y), modifiers,
            static_cast<std::int32_t>(button), doubleClick, static_cast<std::int32_t>(buttons));
        down ? target->NotifyMouseDown(event) : target->NotifyMouseUp(event);
    }
    if (!down)
    {
        UpdateHover();
    }
}

void LRootWindow::OnDeactivated()
{
    const RCPtr<LControl> capture = mCapture;
    if (capture)
    {
        capture->ReleaseCapture();
    }
    ReleaseCapture();
}

void LRootWindow::SetMeasurementRenderer(const RCPtr<LMeasurementRenderer>& renderer)
{
    mMeasurementRenderer = renderer;
}

// ---- keys and hot keys ----

void LRootWindow::DeliverKey(const KeyCode& key)
{
    const RCPtr<LControl> target = mFocused ? mFocused : mRootControl;
    if (target)
    {
        target->NotifyKey(LKeyParam::Create(key, true));
    }
}

void LRootWindow::LoadHotKeys()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    RCPtr<LStringTable> table;
    if (factory && mHotKeys)
    {
        mHotKeys->GetHotKeyMap().LoadFromStringTable(factory->GetAppStringTable(table), u"GHK");
    }
}

// A command that no subscriber of the window takes would be lost here; the application's queue
// reaches the application-wide handlers (the clipboard's edit commands among them).
void LRootWindow::TakeCommand(const RCPtr<LNotification>& command)
{
    const RCPtr<LNotificationClientPool> pool = FindClientPool(command->GetID());
    if (pool && !pool->GetReceivers().empty())
    {
        mQueuedCommands.push_back(command);
        return;
    }
    const RCPtr<LNotificationCenter> centre = GetApplicationNotificationCenter();
    RCPtr<LNotificationReceiver> receiver;
    if (centre)
    {
        centre->GetPostingReceiver(receiver);
    }
    if (receiver)
    {
        receiver->ReceiveNotification(RCPtr<LNotificationDistributor>(), command);
    }
}

std::size_t LRootWindow::DeliverQueuedCommands()
{
    std::vector<RCPtr<LNotification>> commands;
    commands.swap(mQueuedCommands);
    for (const RCPtr<LNotification>& command : commands)
    {
        Distribute(command);
    }
    return commands.size();
}

} // namespace QZ
