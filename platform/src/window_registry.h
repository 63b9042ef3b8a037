// Window classes and windows: the records behind HWND and what the message,
// display and WGL parts need to know about them.
#pragma once

#include "device_context.h"

#include <SDL.h>

#include <string>
#include <vector>

struct HWND__ {
    SDL_Window* sdlWindow = nullptr;
    WNDPROC procedure = nullptr;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer{};         // the window rectangle, frame included, in screen coordinates
    int clientWidth = 0;  // the client size last reported by WM_SIZE
    int clientHeight = 0;
    bool fullscreen = false; // holds the changed display mode
    HDC__ dc;             // the window's own device context
    int pixelFormat = 0;  // set once by SetPixelFormat
    int surfaceFormat = 0; // the format SDL made the window's GL surface with
    bool destroying = false; // DestroyWindow is under way
};

namespace platform {

bool isWindow(HWND window);
HWND windowFromSdlId(Uint32 id);
// Live windows, oldest first.
const std::vector<HWND>& liveWindows();
// The window that has the keyboard: SDL's focus, else the newest visible window.
HWND focusWindow();
// The newest visible window, or null.
HWND foregroundWindow();
// Calls the window's procedure at once, as SendMessage does.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Gives the window a new GL surface of this format (SDL fixes a window's
// format when the window is made).
bool remakeSurface(HWND window, int format);
// Bumped whenever a window appears or goes away.
unsigned windowGeneration();

} // namespace platform
