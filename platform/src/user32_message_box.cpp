// MessageBoxA: the text always goes to standard error as well, so that it is
// seen where no one can see a dialog.
#include "sdl_video.h"

#include <windows.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool displayAvailable()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::string_view(driver) == "offscreen" || std::string_view(driver) == "dummy"))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

Uint32 sdlIcon(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

} // namespace

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    // A null caption reads "Error" on Windows.
    const char* title = caption != nullptr ? caption : "Error";
    const char* body = text != nullptr ? text : "";
    std::fprintf(stderr, "%s: %s\n", title, body);
    std::fflush(stderr);
    if (displayAvailable())
        SDL_ShowSimpleMessageBox(sdlIcon(type), title, body, nullptr);
    return IDOK;
}
