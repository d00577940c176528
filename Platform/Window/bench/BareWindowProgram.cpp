// The reference for the editor's start-up: a bare SDL2 program that opens a 1200 x 750 window,
// presents one cleared frame the way the editor's frames go to an X11 window (SDL's window
// surface in shared memory), and ends when the window is closed. Run by the start-up benchmark.
#include <SDL.h>

int main(int, char**)
{
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        SDL_Log("BareWindowProgram: %s", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Bare", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, 1200, 750, SDL_WINDOW_SHOWN);
    SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr)
    {
        SDL_Log("BareWindowProgram: %s", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0x30, 0x70, 0xA0));
    SDL_UpdateWindowSurface(window);
    // Polled: SDL's blocking wait can wake itself through the window after it was destroyed.
    SDL_Event event;
    for (bool open = true; open;)
    {
        while (SDL_PollEvent(&event) != 0)
        {
            open = open && event.type != SDL_QUIT;
        }
        SDL_Delay(5);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
