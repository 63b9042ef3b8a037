// Display modes and the screen size: ChangeDisplaySettingsA and GetSystemMetrics.
#include "display_modes.h"
#include "sdl_video.h"
#include "window_registry.h"

#include <SDL.h>

#include <vector>

namespace {

struct Mode {
    int width;
    int height;
    int bitsPerPixel; // bits each pixel takes in memory
};

// SDL's offscreen driver has no real modes; its virtual screen is a 1920 x
// 1080 desktop that accepts the common 32-bit modes up to that size.
constexpr Mode virtualDesktop{1920, 1080, 32};
constexpr Mode virtualModes[] = {{1920, 1080, 32}, {1680, 1050, 32}, {1600, 900, 32}, {1280, 1024, 32},
                                 {1280, 720, 32},  {1024, 768, 32},  {800, 600, 32},  {640, 480, 32}};

bool modeActive = false;
platform::ScreenSize activeMode{0, 0};

// An X screen of depth 24 keeps each pixel in 32 bits, so count bytes, not
// colour bits.
int storedBits(Uint32 format) { return SDL_BYTESPERPIXEL(format) * 8; }

std::vector<Mode> offeredModes()
{
    if (platform::offscreenVideo())
        return {std::begin(virtualModes), std::end(virtualModes)};
    std::vector<Mode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, i, &m) == 0)
            modes.push_back({m.w, m.h, storedBits(m.format)});
    }
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        modes.push_back({desktop.w, desktop.h, storedBits(desktop.format)});
    return modes;
}

platform::ScreenSize desktopSize()
{
    if (platform::offscreenVideo())
        return {virtualDesktop.width, virtualDesktop.height};
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return {0, 0};
    return {desktop.w, desktop.h};
}

void leaveFullscreen()
{
    for (HWND window : platform::liveWindows()) {
        if (!window->fullscreen)
            continue;
        window->fullscreen = false;
        if (!platform::offscreenVideo() && window->sdlWindow != nullptr)
            SDL_SetWindowFullscreen(window->sdlWindow, 0);
    }
}

} // namespace

namespace platform {

ScreenSize screenSize()
{
    if (!ensureVideo())
        return {0, 0};
    return modeActive ? activeMode : desktopSize();
}

bool fullscreenModeActive() { return modeActive; }

} // namespace platform

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags)
{
    if (mode == nullptr) {
        // Back to the desktop's own mode.
        modeActive = false;
        leaveFullscreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!platform::ensureVideo())
        return DISP_CHANGE_FAILED;

    const platform::ScreenSize current = platform::screenSize();
    const int width = (mode->dmFields & DM_PELSWIDTH) ? static_cast<int>(mode->dmPelsWidth) : current.width;
    const int height = (mode->dmFields & DM_PELSHEIGHT) ? static_cast<int>(mode->dmPelsHeight) : current.height;
    const int bits = (mode->dmFields & DM_BITSPERPEL) ? static_cast<int>(mode->dmBitsPerPel) : 32;

    bool offered = false;
    for (const Mode& m : offeredModes())
        offered = offered || (m.width == width && m.height == height && m.bitsPerPixel == bits);
    if (!offered)
        return DISP_CHANGE_BADMODE;
    if (flags & CDS_TEST)
        return DISP_CHANGE_SUCCESSFUL;

    // The switch itself happens when the fullscreen window appears: SDL
    // changes modes per window, Windows per display.
    modeActive = true;
    activeMode = {width, height};
    return DISP_CHANGE_SUCCESSFUL;
}

int WINAPI GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
        return platform::screenSize().width;
    case SM_CYSCREEN:
        return platform::screenSize().height;
    default:
        return 0;
    }
}
