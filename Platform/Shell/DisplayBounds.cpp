#include "Platform/Shell/DisplayBounds.h"

#include <SDL.h>

namespace QZ::Shell
{

bool GetUsableDisplayBounds(DisplayArea& area)
{
    area = DisplayArea();
    // The subsystem is counted: when the window layer has it running this only adds a user.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        return false;
    }
    SDL_Rect bounds;
    const bool found = SDL_GetDisplayUsableBounds(0, &bounds) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (found)
    {
        area = DisplayArea{bounds.x, bounds.y, bounds.w, bounds.h};
    }
    return found;
}

} // namespace QZ::Shell
