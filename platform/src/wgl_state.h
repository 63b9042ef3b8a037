// The GL context record and which one is current, shared by the WGL calls.
#pragma once

#include <windows.h>

#include <SDL.h>

struct HGLRC__ {
    SDL_GLContext context = nullptr;
};

namespace platform {

HGLRC currentContext();

// Remembers what is current and makes it current again when the scope ends;
// used where the layer needs a context of its own for a moment.
class CurrentContextGuard {
public:
    CurrentContextGuard();
    ~CurrentContextGuard();
    CurrentContextGuard(const CurrentContextGuard&) = delete;
    CurrentContextGuard& operator=(const CurrentContextGuard&) = delete;

private:
    SDL_Window* window_;
    SDL_GLContext context_;
};

// Sets SDL's context attributes for the context wglCreateContext makes.
void requestLegacyContext();

} // namespace platform
