// A top-level desktop window that shows one root window: it turns the window system's events into
// the root window's pointer, wheel, key, size, focus and close handling, paints the root window's
// dirty region through its renderer and shows each finished frame.
//
// The window owns its renderer and render context and is its renderer's frame presenter: the 2D
// renderer hands it the repainted rectangles of each frame, which it copies into the window.
// Painting waits for the event loop's paint step (or RedrawNow), so any number of invalidations
// between steps costs one frame.
//
// A window without an owner is the main window: closing it asks the application to exit, which
// stores the window's placement ("WP") through SavePlacement, whichever road asked. A window with an owner is a dialog: closing it ends its modal run with
// 2, and RunModalLoop disables the owner for the run. User-interface thread only; the window
// outlives the root window it hands itself to as IWindowOSServices, and destroying it lets its
// root window go.
#pragma once

#include "QZFramework/ControlBase/WindowOSServices.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/GDI/FramePresenter.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Platform
{
struct WindowEvent;
} // namespace Platform

namespace QZ
{

class LRenderer;
class LRenderContextInfo;
class LRootWindow;
class LWindowEventLoop;

class OSWindow : public IWindowOSServices, public IFramePresenter
{
public:
    // The style bit that makes the window's frame a sizing border.
    static constexpr std::uint32_t kStyleSizingBorder = 0x00040000;

    // A window of the open event loop (there must be one); created by CreateEx.
    OSWindow();
    ~OSWindow() override;
    OSWindow(const OSWindow&) = delete;
    OSWindow& operator=(const OSWindow&) = delete;

    // Creates the desktop window, hidden, with its client area at (x, y) sized width x height;
    // style may carry kStyleSizingBorder. The class name, extended style, menu and parameter
    // have no meaning on this desktop. Non-zero on success.
    std::int32_t CreateEx(std::uint32_t exStyle, const WideString& className,
                          const WideString& title, std::uint32_t style, std::int32_t x,
                          std::int32_t y, std::int32_t width, std::int32_t height, OSWindow* owner,
                          void* menu, void* parameter);
    // Makes the renderer of the type with its render context, and the root window, which joins
    // the application's list. 0, or E_FAIL before CreateEx or when the renderer cannot be made.
    QZRESULT AttachRootWindow(std::int32_t rendererType);
    // The same for a dialog's window, drawing and measuring with the owner's renderer type.
    QZRESULT AttachDialogRootWindow(const RCPtr<LRenderer>& ownerRenderer);
    // Destroys the desktop window; the root window leaves the application's list and drops its
    // tree. Nothing when there is none.
    void Destroy();
    bool Show();
    // The window's icon from PNGs of its sizes; false before CreateEx, without a PNG that
    // decodes, or when the desktop refuses it.
    bool SetIcon(const std::vector<std::span<const std::uint8_t>>& pngs);
    // Restores the window when it is minimised and brings it to the front.
    void BringToFront();
    // Stores the window's place and size in the user settings ("WP"), for the next start.
    void SavePlacement();

    [[nodiscard]] const RCPtr<LRootWindow>& GetRootWindow() const { return mRootWindow; }
    [[nodiscard]] const RCPtr<LRenderer>& GetRenderer() const { return mRenderer; }
    [[nodiscard]] std::uint32_t GetId() const { return mId; }
    // The desktop's own handle of the window (see Platform::WindowSystem::GetNativeWindow).
    [[nodiscard]] std::uint64_t GetNativeWindow() const;
    [[nodiscard]] bool IsMainWindow() const { return mOwner == nullptr; }

    // ---- the event loop's side ----
    void HandleEvent(const Platform::WindowEvent& event);
    [[nodiscard]] bool NeedsPaint() const;
    // Paints the invalid area and the root window's dirty region, and shows the frame.
    QZRESULT Paint();
    void InvalidateAll();
    // Limits a client size to the root control's minimum and maximum (a maximum of 0 is none).
    void ConstrainClientSize(std::int32_t& width, std::int32_t& height) const;

    // ---- IWindowOSServices ----
    void GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                       std::int32_t& height) override;
    void ClientToScreen(PointT<std::int32_t>& out, const PointT<std::int32_t>& point) override;
    void InvalidateRect(const RectT<long>& rect) override;
    QZRESULT RedrawNow() override;
    bool IsActive() override;
    // Shows the window over its disabled owner and runs the loop until EndModalLoop; then
    // enables and raises the owner and destroys this window. The result; 0 when the run ended
    // because the program is ending.
    std::int32_t RunModalLoop() override;
    void EndModalLoop(std::int32_t result) override;
    void* GetWindowHandle() override;
    LCursor SetCursor(LCursor cursor) override;
    void SetWindowTitle(const WideString& title) override;
    void SetClientScreenRect(const RectT<std::int32_t>& rect) override;

    // ---- IFramePresenter ----
    void Present(Graphics2D::Image& frame,
                 std::span<const RectT<std::int32_t>> rectangles) override;

private:
    void OnClose();
    void OnSizeChanged(std::int32_t width, std::int32_t height);
    void DeliverPointer(const Platform::WindowEvent& event);
    void DeliverKeyboard(const Platform::WindowEvent& event);

    LWindowEventLoop& mLoop;
    std::uint32_t mId = 0;
    OSWindow* mOwner = nullptr;
    RCPtr<LRootWindow> mRootWindow;
    RCPtr<LRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
    RegionT mInvalid;
    LCursor mCursor = kNoCursor;
    bool mActive = false;
    bool mPointerInside = false;
    bool mModalEnded = false;
    std::int32_t mModalResult = 0;
};

} // namespace QZ
