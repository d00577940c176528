#include "Platform/Dialogs/MessageBox.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace QZ::Dialogs
{
namespace
{

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

Uint32 SdlFlags(std::uint32_t style)
{
    switch (style & 0xF0)
    {
    case kIconError:
        return SDL_MESSAGEBOX_ERROR;
    case kIconWarning:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// The process that shows a box, while this thread has SDL show one from a process of its own.
thread_local pid_t tBoxOwner = 0;

// Fork handler: the box's process ends with the one that shows it, however that one ends, so
// that no box is left on the screen of a program that is gone. Other children are left alone.
void TieBoxToItsOwner()
{
    if (tBoxOwner == 0)
    {
        return;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The owner may have died before the tie was made.
    if (::getppid() != tBoxOwner)
    {
        ::_exit(1);
    }
}

class SdlMessageBoxPresenter : public IMessageBoxPresenter
{
public:
    std::int32_t Present(const std::string& text, const std::string& caption,
                         std::uint32_t style) override
    {
        if (!HasDisplay())
        {
            return kResultNone;
        }
        // SDL shows the box from a forked process of its own.
        static const bool tied = ::pthread_atfork(nullptr, nullptr, TieBoxToItsOwner) == 0;
        tBoxOwner = tied ? ::getpid() : 0;
        const bool shown =
            SDL_ShowSimpleMessageBox(SdlFlags(style), caption.c_str(), text.c_str(), nullptr) == 0;
        tBoxOwner = 0;
        return shown ? kResultOk : kResultNone;
    }
};

SdlMessageBoxPresenter gDesktopPresenter;
IMessageBoxPresenter* gPresenter = &gDesktopPresenter;

} // namespace

std::int32_t ShowMessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style)
{
    std::cerr << caption << ": " << text << std::endl;
    return gPresenter->Present(text, caption, style);
}

void SetMessageBoxPresenter(IMessageBoxPresenter* presenter)
{
    gPresenter = presenter != nullptr ? presenter : &gDesktopPresenter;
}

IMessageBoxPresenter& GetDesktopMessageBoxPresenter()
{
    return gDesktopPresenter;
}

} // namespace QZ::Dialogs
