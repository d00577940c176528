// The desktop's clipboard text, through the open window system (the X selection "CLIPBOARD" on
// X11). Text crosses as UTF-8 and is UTF-16 here. While the program owns the clipboard, other
// programs read it through the window system's event pump, so the user-interface thread's loop
// must keep running for a paste elsewhere to succeed. User-interface thread only.
#pragma once

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

class LClipboard : public LRefCountedObject
{
public:
    // A clipboard on the window system, which must outlive it; 0.
    static QZRESULT Create(RCPtr<LClipboard>& out, Platform::WindowSystem& system);

    // 0, or E_FAIL when the window system refuses.
    QZRESULT SetText(const WideString& text);
    // The clipboard's text (empty when it holds none); 0, or E_FAIL with text empty.
    QZRESULT GetText(WideString& text);

private:
    explicit LClipboard(Platform::WindowSystem& system) : mSystem(system) {}

    Platform::WindowSystem& mSystem;
};

} // namespace QZ
