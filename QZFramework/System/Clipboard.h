// The desktop's clipboard text, through the open window system (the X selection "CLIPBOARD" on
// X11). Text crosses as UTF-8 and is UTF-16 here. While the program owns the clipboard, other
// programs read it through the window system's event pump, so the user-interface thread's loop
// must keep running for a paste elsewhere to succeed.
//
// Once initialised, the clipboard takes the edit commands ("NID_EDIT_CUT_REQ", "..._COPY_REQ",
// "..._PASTE_REQ", "..._DELETE_REQ") from the "application" centre, where the hot keys and menus
// post them, and hands each to the edit target of the focused control of the active root window,
// exchanging the text through itself. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/ClipboardTextInterface.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace Platform
{
class WindowSystem;
}

namespace QZ
{

class LClipboard : public LRefCountedObject, public IClipboardText
{
public:
    // A clipboard on the window system, which must outlive it; 0.
    static QZRESULT Create(RCPtr<LClipboard>& out, Platform::WindowSystem& system);
    ~LClipboard() override;

    // Subscribes the four edit commands at the "application" centre; 0. A subscription that fails
    // throws a FailedResultException.
    QZRESULT Initialize();
    // Withdraws the subscriptions; the edit commands reach nothing afterwards.
    void Shutdown();

    // 0, or E_FAIL when the window system refuses.
    QZRESULT SetText(const WideString& text) override;
    // The clipboard's text (empty when it holds none); 0, or E_FAIL with text empty.
    QZRESULT GetText(WideString& text) override;

    // Hands the edit command to the edit target of the active root window's focused control: that
    // target's answer, or S_FALSE when there is no window, no focused control or no edit target.
    QZRESULT PerformEdit(const WideString& command);

private:
    class CommandClient;

    explicit LClipboard(Platform::WindowSystem& system);

    Platform::WindowSystem& mSystem;
    RCPtr<CommandClient> mClient;
};

} // namespace QZ
