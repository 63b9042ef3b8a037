// SDL video start-up: driver choice, hints and the Mesa version overrides.
#include "sdl_video.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

bool started = false;
bool offscreen = false;

bool hasVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

} // namespace

bool ensureVideo()
{
    if (started)
        return true;

    // Mesa reads these when it creates its first screen; llvmpipe then offers
    // a 4.6 compatibility context with GLSL 4.60. A value already set wins.
    setenv("MESA_GL_VERSION_OVERRIDE", "4.6COMPAT", 0);
    setenv("MESA_GLSL_VERSION_OVERRIDE", "460", 0);

    // No display at all: render into SDL's offscreen surfaces instead.
    if (!hasVariable("SDL_VIDEODRIVER") && !hasVariable("DISPLAY") && !hasVariable("WAYLAND_DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);

    // Ctrl+C and friends become WM_CLOSE in our own message pump, not SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window procedure decides about the screen saver, not SDL.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A fullscreen window stays put when it loses the focus, as on Windows.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "rezuro platform: cannot start video: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    offscreen = driver != nullptr && std::strcmp(driver, "offscreen") == 0;
    started = true;
    return true;
}

bool videoReady() { return started; }

bool offscreenVideo() { return started && offscreen; }

} // namespace platform
