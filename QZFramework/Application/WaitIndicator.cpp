#include "QZFramework/Application/WaitIndicator.h"

#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/RootWindow.h"

namespace QZ
{

LWaitIndicator::LWaitIndicator(const WideString& text)
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    if (application == nullptr)
    {
        return;
    }
    mWindow = application->GetActiveRootWindow();
    if (!mWindow)
    {
        const std::vector<RCPtr<LRootWindow>> windows = application->GetRootWindows();
        mWindow = windows.empty() ? RCPtr<LRootWindow>() : windows.front();
    }
    if (mWindow)
    {
        mPreviousCursor = mWindow->SetCursor(LoadAppCursor(UI_CURSOR_WAIT));
    }
    static_cast<void>(application->SetStatusText(text, true));
    application->Idle(true);
}

LWaitIndicator::~LWaitIndicator()
{
    if (mWindow)
    {
        mWindow->SetCursor(mPreviousCursor);
    }
    if (LApplicationBase* application = LApplicationBase::GetApplication())
    {
        static_cast<void>(application->ResetStatusText(true));
    }
}

} // namespace QZ
