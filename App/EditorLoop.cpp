#include "App/EditorLoop.h"

#include <iostream>
#include <string>

std::int32_t EditorLoop::Run(const IdleHandler& idle)
{
    std::string error;
    mLoop = QZ::LWindowEventLoop::Open(nullptr, error);
    if (!mLoop)
    {
        std::cerr << "Tarn 61 Vidida Editor cannot start: " << error << std::endl;
        return 1;
    }
    const std::int32_t code = mLoop->Run(idle);
    if (!mLoop->HasWindows())
    {
        std::cout << "Tarn 61 Vidida Editor started; the editor window is not built yet."
                  << std::endl;
    }
    mLoop.reset();
    return code;
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
