// What a root window asks of the operating-system window that shows it.
//
// The operating-system window implements this interface and outlives the root window it hands it
// to; a root window without one (tests, off-screen trees) keeps working on its own state. All
// calls come from the user-interface thread.
#pragma once

#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

// A cursor by its application number (AppCursors.h); the window layer turns it into the pointer
// it shows, and 0 is the default arrow.
using LCursor = CursorHandle;

class IWindowOSServices
{
public:
    virtual ~IWindowOSServices() = default;

    // The client area: its origin in screen coordinates and its size.
    virtual void GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                               std::int32_t& height) = 0;
    virtual void ClientToScreen(PointT<std::int32_t>& out, const PointT<std::int32_t>& point) = 0;
    // Asks for a paint of that client rectangle at the next paint step.
    virtual void InvalidateRect(const RectT<long>& rect) = 0;
    // Paints the invalid area now; 0, or E_FAIL when the window cannot paint.
    virtual QZRESULT RedrawNow() = 0;
    // True while the window (or, for a dialog, its owner) is the active window.
    [[nodiscard]] virtual bool IsActive() = 0;
    // Runs a nested loop with the owner disabled until EndModalLoop; answers its result.
    virtual std::int32_t RunModalLoop() = 0;
    virtual void EndModalLoop(std::int32_t result) = 0;
    // The native handle that owns message boxes; null without a window.
    [[nodiscard]] virtual void* GetWindowHandle() = 0;
    // Applies the cursor and answers the one in force before.
    virtual LCursor SetCursor(LCursor cursor) = 0;
    virtual void SetWindowTitle(const WideString& title) = 0;
    // Moves and sizes the window so that its client area is that screen rectangle.
    virtual void SetClientScreenRect(const RectT<std::int32_t>& rect) = 0;
};

} // namespace QZ
