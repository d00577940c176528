// Shows that the program is busy for as long as it lives: the active root window (else the main
// one) shows the wait cursor and the status bar the text, both painted before the work starts;
// the cursor and the status bar's own text come back when it ends. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/WindowOSServices.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LRootWindow;

class LWaitIndicator
{
public:
    explicit LWaitIndicator(const WideString& text);
    ~LWaitIndicator();
    LWaitIndicator(const LWaitIndicator&) = delete;
    LWaitIndicator& operator=(const LWaitIndicator&) = delete;

private:
    RCPtr<LRootWindow> mWindow;
    LCursor mPreviousCursor = kNoCursor;
};

} // namespace QZ
