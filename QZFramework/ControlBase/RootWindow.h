// The root of one window's control tree: the state that belongs to the window rather than to a
// control.
//
// A root window holds the root control, the cached client rectangle, the focused, previously
// focused and capturing controls, the dirty region that the next paint pass draws, the pointer
// state the event road recorded last, the cursor and the modal result. It reaches its
// operating-system window through IWindowOSServices; without one (tests, off-screen trees) it
// keeps all of that state itself: focus and capture are stored, invalidation only grows the
// dirty region, and the pointer sits at (0, 0).
//
// Ownership: the root control holds its root window; that link is booked as an internal
// reference of the window, so releasing the last outside reference drops the tree and the window
// together. The operating-system services are borrowed and must outlive the root window.
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/WindowOSServices.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace QZ
{

class LControl;
class LMeasurementRenderer;
class LMouseWheelParam;
class LRenderer;

class LRootWindow : public virtual LNotificationDistributor
{
public:
    // Modifier bits of GetModifierState: each key's own bit with its left and right bits.
    static constexpr std::uint32_t kModifierCtrl = 0x1;
    static constexpr std::uint32_t kModifierShift = 0x8;
    static constexpr std::uint32_t kModifierAlt = 0x40;
    static constexpr std::uint32_t kModifierWin = 0x200;

    explicit LRootWindow(IWindowOSServices* services = nullptr);
    ~LRootWindow() override;
    LRootWindow(const LRootWindow&) = delete;
    LRootWindow& operator=(const LRootWindow&) = delete;

    // The top-most control under the point (client coordinates), with the point in its
    // coordinates; controls marked to be passed over are skipped. flag: 1 for pointer and wheel
    // input, 0 for a drag. Null when nothing is hit.
    virtual RCPtr<LControl>& HitTest(RCPtr<LControl>& out, std::int32_t x, std::int32_t y,
                                     PointT<long>& point, std::int32_t flag);

    // Drops the root control and every control reference, which breaks the window-tree cycle.
    QZRESULT ReleaseInternalReferences() override;

    // ---- tree ----
    // Creates the skin's top-level control of that name as the root control: 0, E_FAIL when the
    // skin has no such control or its creation failed.
    QZRESULT CreateRootControl(const WideString& name);
    // Attaches the control (or none) as the root control, lays it out against the client area
    // and invalidates everything.
    QZRESULT SetRootControl(const RCPtr<LControl>& control);
    [[nodiscard]] const RCPtr<LControl>& GetRootControl() const { return mRootControl; }

    // ---- geometry ----
    // Client width and height in whole pixels.
    [[nodiscard]] PointT<long> GetClientSize() const;
    // The client origin in screen coordinates.
    [[nodiscard]] PointT<long> GetClientOrigin() const;
    // The client area in screen coordinates, refreshed from the operating-system window when
    // there is one.
    RectT<std::int32_t> GetClientScreenRect();
    // Stores the client area (screen coordinates) and lays the root control out again when its
    // size changed; the window layer calls it on resize, headless users to give the tree a size.
    void SetClientScreenRect(const RectT<std::int32_t>& rect);
    // Moves and sizes the window; a rectangle equal to the current one is ignored (1), else 0.
    QZRESULT SetWindowRect(const RectT<std::int32_t>& rect);
    void SetWindowTitle(const WideString& title);
    [[nodiscard]] const WideString& GetWindowTitle() const { return mTitle; }

    // ---- pointer, keyboard modifiers and cursor ----
    // Recorded by the event road from every pointer event.
    void SetPointerState(const PointT<long>& position, std::uint32_t buttons,
                         std::uint32_t modifiers);
    // The pointer in client coordinates; (0, 0) without an operating-system window.
    void GetMousePosition(PointT<long>& position) const;
    // Held buttons: 1 left, 2 middle, 4 right.
    [[nodiscard]] std::uint32_t GetMouseButtons() const { return mButtons; }
    [[nodiscard]] std::uint32_t GetModifierState() const { return mModifiers; }
    // Applies the cursor (0: the default) and answers the one in force before.
    LCursor SetCursor(LCursor cursor);

    // ---- focus and capture ----
    void SetFocusedControl(const RCPtr<LControl>& control);
    // Clears the focus, remembering the focused control as the previously focused one.
    void ClearFocus();
    [[nodiscard]] const RCPtr<LControl>& GetFocusedControl() const { return mFocused; }
    [[nodiscard]] const RCPtr<LControl>& GetPreviousFocusedControl() const
    {
        return mPreviousFocused;
    }
    // Clears the focus and gives it to the root control.
    void ResetFocus();
    // Focuses the previously focused control again when it still belongs to this window.
    void RestoreFocus();
    void SetCapture(const RCPtr<LControl>& control);
    // Drops the capture; 0.
    QZRESULT ReleaseCapture();
    [[nodiscard]] const RCPtr<LControl>& GetCapture() const { return mCapture; }
    // A Tab request that climbed past the root control: the focus wraps around to the first
    // (forward) or last tab stop of the window. 0 when the focus moved, else 1.
    QZRESULT OnTabTraversalEnd(bool forward);

    // ---- wheel ----
    // Offers a wheel step (directions 0 and 1 vertical, 2 and 3 horizontal) at the point (client
    // coordinates) to the capturing control or else the control under it, then, when that
    // answers 1, to the fallback control. 0 when taken, 1 when nobody took it.
    QZRESULT DispatchWheel(const RCPtr<LMouseWheelParam>& wheel);
    void SetWheelFallback(const RCPtr<LControl>& control) { mWheelFallback = control; }

    // ---- painting and invalidation ----
    // Paints the root control into the dirty region, then the separately painted layer above it;
    // nothing outside the region is drawn.
    QZRESULT Paint(const RCPtr<LRenderer>& renderer, const RegionT& dirty);
    // Adds the rectangle (client pixels), clipped to the client area, to the dirty region and
    // asks the window to repaint it.
    void Invalidate(const RectT<long>& rect);
    // Invalidates the whole client area and paints it now (0, or the window's failure).
    QZRESULT InvalidateAllAndRedraw();
    [[nodiscard]] const RegionT& GetDirtyRegion() const { return mDirty; }
    // Hands the dirty region to the paint step and starts a new one.
    void TakeDirtyRegion(RegionT& dirty);

    // ---- modal runs and idle ----
    // With an operating-system window: stores the result and ends the modal loop at the next idle
    // step. Without one, nothing runs modally and nothing is stored.
    void EndModal(std::int32_t result);
    [[nodiscard]] std::int32_t GetModalResult() const { return mModalResult; }
    // One idle step; ends a pending modal loop; with sendIdle, "NID_IDLE" goes to the controls
    // that asked for idle steps. True while work remains.
    bool Idle(bool sendIdle);
    // Whether commands wait for the next idle step.
    [[nodiscard]] bool HasQueuedCommands() const { return !mQueuedCommands.empty(); }

    [[nodiscard]] IWindowOSServices* GetOSServices() const { return mServices; }
    [[nodiscard]] bool IsActive() const { return mServices != nullptr && mServices->IsActive(); }
    // The renderer that measures text for this window; null until the window layer sets one.
    void SetMeasurementRenderer(const RCPtr<LMeasurementRenderer>& renderer);
    [[nodiscard]] const RCPtr<LMeasurementRenderer>& GetMeasurementRenderer() const
    {
        return mMeasurementRenderer;
    }

    // ---- pointer input and hover ----
    // The event road's pointer move (client coordinates): records the pointer, moves the hover
    // (while a control holds the capture, only that control can be hovered) and hands the move to
    // the capturing or else the hovered control, in its own coordinates.
    void OnPointerMove(const PointT<long>& position, std::uint32_t buttons,
                       std::uint32_t modifiers);
    // A press or release of button 1, 2 or 4; buttons are those held after the event. The
    // capturing control, or else the control under the pointer, takes it; after a release the
    // hover follows the pointer again.
    void OnPointerButton(bool down, std::uint32_t button, const PointT<long>& position,
                         std::uint32_t buttons, std::uint32_t modifiers, bool doubleClick);
    // The window lost the keyboard: the capture, and with it a drag, ends; the focus stays.
    void OnDeactivated();
    // Finds the control under the pointer again and moves the hover to it.
    void UpdateHover();
    [[nodiscard]] const RCPtr<LControl>& GetHoveredControl() const { return mHover; }

    // ---- keys and hot keys ----
    // The event road's key entry (a character comes as KeyCode::FromChar): the focused control,
    // or else the root control, routes it through its local hot keys, its key hook and its
    // parents to the window's and the application's hot keys; Tab moves the focus.
    void DeliverKey(const KeyCode& key);
    // The window's hot keys: the application string table's "GHK" bindings, loaded when a root
    // control is set. A command goes to the window's subscribers at the next idle step, or, when
    // the window has none for it, to the "application" centre's queue.
    [[nodiscard]] const RCPtr<LGlobalHotKeyManager>& GetHotKeyManager() const { return mHotKeys; }
    // Delivers the commands queued for the window's subscribers; the number delivered.
    std::size_t DeliverQueuedCommands();

private:
    class CommandReceiver;
    void LoadHotKeys();
    void TakeCommand(const RCPtr<LNotification>& command);

    RCPtr<CommandReceiver> mCommandReceiver;
    RCPtr<LGlobalHotKeyManager> mHotKeys;
    std::vector<RCPtr<LNotification>> mQueuedCommands;

    [[nodiscard]] bool Contains(const LControl& control) const;
    void DetachRootControl();
    // Paints the tree within the rectangle, clipped to it.
    QZRESULT PaintArea(const RCPtr<LRenderer>& renderer, const RegionRect& area);

    // pointer input and hover
    void SetHover(const RCPtr<LControl>& control);
    // The control whose tooltip the pointer asks for: the hovered one or a transparent part of
    // it under the pointer that has help text, or the one it stands for; null for none.
    [[nodiscard]] RCPtr<LControl> FindToolTipSource() const;
    // Moves the tooltip to the control the pointer now asks for.
    void UpdateToolTipSource();
    // A press puts the help text away until the pointer moves to another control.
    void HideToolTip();
    RCPtr<LControl> mHover;
    RCPtr<LControl> mToolTipSource;
    bool mUpdatingHover = false;

    IWindowOSServices* mServices;
    RCPtr<LControl> mRootControl;
    RectT<std::int32_t> mClientRect;
    RCPtr<LMeasurementRenderer> mMeasurementRenderer;
    RCPtr<LControl> mFocused;
    RCPtr<LControl> mPreviousFocused;
    RCPtr<LControl> mCapture;
    RCPtr<LControl> mWheelFallback;
    RegionT mDirty;
    WideString mTitle;
    PointT<long> mPointer;
    std::uint32_t mButtons = 0;
    std::uint32_t mModifiers = 0;
    LCursor mCursor = kNoCursor;
    std::int32_t mModalResult = 0;
    bool mEndModalPending = false;
    bool mRequestingRect = false;
};

} // namespace QZ
