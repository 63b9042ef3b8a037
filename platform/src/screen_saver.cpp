// The screen saver is held off exactly while the foreground window's
// procedure swallows SC_SCREENSAVE or SC_MONITORPOWER. SDL has one switch for
// both (on X11 it suspends the saver and display power management together).
#include "screen_saver.h"

#include "sdl_video.h"
#include "window_registry.h"

#include <SDL.h>

#include <array>

namespace platform {
namespace {

bool reachedDefault = false;
bool asking = false;
bool asked = false;
Uint32 lastAsked = 0;
unsigned askedGeneration = 0;
constexpr Uint32 askInterval = 1000; // milliseconds

} // namespace

void screenSaveCommandReachedDefault() { reachedDefault = true; }

void refreshScreenSaver()
{
    if (!videoReady() || asking)
        return;
    const Uint32 now = SDL_GetTicks();
    if (asked && askedGeneration == windowGeneration() && now - lastAsked < askInterval)
        return;
    asking = true;
    asked = true;
    askedGeneration = windowGeneration();
    lastAsked = now;

    bool holdOff = false;
    if (HWND window = foregroundWindow()) {
        // lParam 2 is "power off" for SC_MONITORPOWER.
        constexpr std::array<std::pair<WPARAM, LPARAM>, 2> commands{{{SC_SCREENSAVE, 0}, {SC_MONITORPOWER, 2}}};
        for (const auto& [command, argument] : commands) {
            reachedDefault = false;
            sendMessage(window, WM_SYSCOMMAND, command, argument);
            if (!reachedDefault && isWindow(window))
                holdOff = true;
        }
    }
    if (holdOff)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();
    asking = false;
}

} // namespace platform
