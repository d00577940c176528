#include "App/EditorLoop.h"

#include "QZFramework/Controls/FileDialog.h"

#include <iostream>
#include <utility>

EditorLoop::~EditorLoop()
{
    QZ::LFileDialog::SetModalLoopPump(nullptr);
    QZ::Dialogs::SetMessageBoxPresenter(nullptr);
    if (mClipboard)
    {
        mClipboard->Shutdown();
    }
}

void EditorLoop::Prepare()
{
    if (!mLoop)
    {
        mLoop = QZ::LWindowEventLoop::Open(nullptr, mOpenError);
    }
}

bool EditorLoop::Open(std::string& error)
{
    Prepare();
    if (!mLoop)
    {
        error = mOpenError;
        std::cerr << "Tarn 61 Vidida Editor cannot start: " << error << std::endl;
        return false;
    }
    QZ::LClipboard::Create(mClipboard, mLoop->GetWindowSystem());
    mClipboard->Initialize();
    QZ::LFileDialog::SetModalLoopPump(
        [this] { return mLoop->ServeWhileBlocked() && (!mBlockedPass || mBlockedPass()); });
    QZ::Dialogs::SetMessageBoxPresenter(&mMessageBox);
    return true;
}

std::int32_t EditorLoop::Run(const IdleHandler& idle)
{
    return mLoop ? mLoop->Run(idle) : 1;
}

void EditorLoop::Quit(std::int32_t code)
{
    if (mLoop)
    {
        mLoop->Quit(code);
    }
}

void EditorLoop::Wake()
{
    if (mLoop)
    {
        mLoop->Wake();
    }
}

void EditorLoop::SetBlockedPassHandler(BlockedPassHandler handler)
{
    mBlockedPass = std::move(handler);
}
