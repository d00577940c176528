#include "Platform/Dialogs/MessageBox.h"

#include <SDL.h>

#include <cstdlib>
#include <iostream>

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
        const bool shown =
            SDL_ShowSimpleMessageBox(SdlFlags(style), caption.c_str(), text.c_str(), nullptr) == 0;
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
