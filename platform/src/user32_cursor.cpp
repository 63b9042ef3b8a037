// ShowCursor: a display counter that starts at 0; the pointer shows while it is
// zero or more.
#include "sdl_video.h"

#include <windows.h>

#include <SDL.h>

namespace {
int displayCount = 0;
}

int WINAPI ShowCursor(BOOL show)
{
    displayCount += show ? 1 : -1;
    if (platform::ensureVideo())
        SDL_ShowCursor(displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return displayCount;
}
