// USER32 windows: classes, creation and destruction, the default window
// procedure, window device contexts and frame sizes.
#include "device_context.h"
#include "display_modes.h"
#include "gl_contexts.h"
#include "message_queue.h"
#include "pixel_formats.h"
#include "screen_saver.h"
#include "sdl_video.h"
#include "termination_signals.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <strings.h>

namespace {

struct WindowClass {
    std::string name;
    ATOM atom;
    WNDPROC procedure;
};

std::vector<WindowClass> classes;
ATOM nextAtom = 0xC000; // registered class atoms live in 0xC000..0xFFFF on Windows
std::vector<std::unique_ptr<HWND__>> windows;
std::vector<HWND> windowHandles;
std::vector<std::unique_ptr<HDC__>> screenDCs;
unsigned generation = 0;

// An atom given as a class name (MAKEINTATOM) is a small integer in a pointer.
bool isAtomName(LPCSTR name) { return reinterpret_cast<std::uintptr_t>(name) < 0x10000; }

WindowClass* findClass(LPCSTR name)
{
    if (name == nullptr)
        return nullptr;
    for (WindowClass& c : classes) {
        if (isAtomName(name) ? c.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name))
                             : strcasecmp(c.name.c_str(), name) == 0)
            return &c;
    }
    return nullptr;
}

bool hasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

// Frame sizes of the classic Windows look at 96 dpi.
int frameThickness(DWORD style)
{
    if (style & WS_THICKFRAME)
        return 8;
    if (style & (WS_BORDER | WS_DLGFRAME))
        return 3;
    return 0;
}

bool framed(DWORD style) { return frameThickness(style) > 0 || hasCaption(style); }

bool anyVisibleWindow()
{
    return std::any_of(windows.begin(), windows.end(), [](const auto& w) { return (w->style & WS_VISIBLE) != 0; });
}

Uint32 sdlFlags(const HWND__& window)
{
    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= (window.style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!framed(window.style))
        flags |= SDL_WINDOW_BORDERLESS;
    else if (window.style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    // SDL's offscreen driver has no modes of its own; the window simply
    // takes the size of the virtual screen there.
    if (window.fullscreen && !platform::offscreenVideo())
        flags |= SDL_WINDOW_FULLSCREEN;
    return flags;
}

// Makes the SDL window for the record's client area, with a GL surface of the format.
bool makeSdlWindow(HWND__& window, int format)
{
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, window.style, FALSE);
    platform::applyPixelFormat(format);
    window.sdlWindow = SDL_CreateWindow(window.title.c_str(), window.outer.left - frame.left,
                                        window.outer.top - frame.top, std::max(window.clientWidth, 1),
                                        std::max(window.clientHeight, 1), sdlFlags(window));
    if (window.sdlWindow == nullptr) {
        std::fprintf(stderr, "rezuro platform: cannot create a window: %s\n", SDL_GetError());
        return false;
    }
    if (window.fullscreen && !platform::offscreenVideo()) {
        SDL_DisplayMode mode{};
        mode.w = window.clientWidth;
        mode.h = window.clientHeight;
        SDL_DisplayMode closest{};
        if (SDL_GetClosestDisplayMode(0, &mode, &closest) != nullptr)
            SDL_SetWindowDisplayMode(window.sdlWindow, &closest);
    }
    window.surfaceFormat = format;
    return true;
}

void forget(HWND window)
{
    windowHandles.erase(std::remove(windowHandles.begin(), windowHandles.end(), window), windowHandles.end());
    windows.erase(std::remove_if(windows.begin(), windows.end(), [window](const auto& w) { return w.get() == window; }),
                  windows.end());
    ++generation;
}

} // namespace

namespace platform {

bool isWindow(HWND window)
{
    return window != nullptr && std::find(windowHandles.begin(), windowHandles.end(), window) != windowHandles.end();
}

HWND windowFromSdlId(Uint32 id)
{
    for (HWND w : windowHandles)
        if (w->sdlWindow != nullptr && SDL_GetWindowID(w->sdlWindow) == id)
            return w;
    return nullptr;
}

const std::vector<HWND>& liveWindows() { return windowHandles; }

HWND foregroundWindow()
{
    for (auto it = windowHandles.rbegin(); it != windowHandles.rend(); ++it)
        if ((*it)->style & WS_VISIBLE)
            return *it;
    return nullptr;
}

HWND focusWindow()
{
    if (SDL_Window* focus = SDL_GetKeyboardFocus())
        if (HWND w = windowFromSdlId(SDL_GetWindowID(focus)))
            return w;
    return foregroundWindow();
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!isWindow(window) || window->procedure == nullptr)
        return 0;
    return window->procedure(window, message, wParam, lParam);
}

bool remakeSurface(HWND window, int format)
{
    if (!isWindow(window))
        return false;
    if (window->surfaceFormat == format)
        return true;
    windowClosing(window);
    SDL_DestroyWindow(window->sdlWindow);
    window->sdlWindow = nullptr;
    return makeSdlWindow(*window, format);
}

unsigned windowGeneration() { return generation; }

} // namespace platform

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc)
{
    if (wc == nullptr || wc->lpfnWndProc == nullptr || wc->lpszClassName == nullptr ||
        isAtomName(wc->lpszClassName) || wc->lpszClassName[0] == '\0')
        return 0;
    if (findClass(wc->lpszClassName) != nullptr || nextAtom == 0)
        return 0;
    classes.push_back({wc->lpszClassName, nextAtom, wc->lpfnWndProc});
    return nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE)
{
    WindowClass* c = findClass(className);
    if (c == nullptr)
        return FALSE;
    const std::string name = c->name;
    // As on Windows, a class with windows still open stays registered.
    if (std::any_of(windows.begin(), windows.end(), [&name](const auto& w) { return w->className == name; }))
        return FALSE;
    classes.erase(classes.begin() + (c - classes.data()));
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    const WindowClass* c = findClass(className);
    if (c == nullptr || !platform::ensureVideo())
        return nullptr;

    auto record = std::make_unique<HWND__>();
    HWND window = record.get();
    window->procedure = c->procedure;
    window->className = c->name;
    window->title = windowName != nullptr ? windowName : "";
    window->style = style;
    window->exStyle = exStyle;
    window->outer = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->dc.window = window;

    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, style, menu != nullptr);
    window->clientWidth = std::max(0, width - (frame.right - frame.left));
    window->clientHeight = std::max(0, height - (frame.bottom - frame.top));

    // A borderless popup that covers the whole screen while a mode set with
    // CDS_FULLSCREEN holds is the fullscreen window that mode is for.
    const platform::ScreenSize screen = platform::screenSize();
    window->fullscreen = platform::fullscreenModeActive() && !framed(style) && x == 0 && y == 0 &&
                         width == screen.width && height == screen.height;

    if (!makeSdlWindow(*window, platform::defaultPixelFormat))
        return nullptr;
    windows.push_back(std::move(record));
    windowHandles.push_back(window);
    ++generation;
    if (style & WS_VISIBLE)
        platform::catchTerminationSignals(true);

    // Windows sends these before CreateWindowEx returns, on the caller's thread.
    CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
    if (platform::sendMessage(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    if (!platform::isWindow(window))
        return nullptr;
    platform::sendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth, window->clientHeight));
    platform::sendMessage(window, WM_MOVE, 0, MAKELPARAM(x - frame.left, y - frame.top));
    return platform::isWindow(window) ? window : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    if (!platform::isWindow(window) || window->destroying)
        return FALSE;
    window->destroying = true;
    platform::sendMessage(window, WM_DESTROY, 0, 0);
    if (!platform::isWindow(window))
        return TRUE;
    platform::windowClosing(window);
    platform::dropMessagesFor(window);
    if (window->sdlWindow != nullptr)
        SDL_DestroyWindow(window->sdlWindow);
    window->sdlWindow = nullptr;
    forget(window);
    if (!anyVisibleWindow())
        platform::catchTerminationSignals(false);
    platform::refreshScreenSaver();
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    constexpr LPARAM altDown = LPARAM{1} << 29; // the context bit of a key message
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & altDown))
            platform::sendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            platform::sendMessage(window, WM_CLOSE, 0, 0);
            break;
        case SC_SCREENSAVE:
        case SC_MONITORPOWER:
            platform::screenSaveCommandReachedDefault();
            break;
        default:
            break;
        }
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI AdjustWindowRect(RECT* rect, DWORD style, BOOL menu)
{
    if (rect == nullptr)
        return FALSE;
    const int thickness = frameThickness(style);
    const int caption = hasCaption(style) ? 23 : 0;
    const int menuBar = menu ? 20 : 0;
    rect->left -= thickness;
    rect->right += thickness;
    rect->top -= thickness + caption + menuBar;
    rect->bottom += thickness;
    return TRUE;
}

HDC WINAPI GetDC(HWND window)
{
    if (window == nullptr) {
        screenDCs.push_back(std::make_unique<HDC__>());
        return screenDCs.back().get();
    }
    return platform::isWindow(window) ? &window->dc : nullptr;
}

int WINAPI ReleaseDC(HWND window, HDC dc)
{
    if (dc == nullptr)
        return 0;
    auto screen = std::find_if(screenDCs.begin(), screenDCs.end(), [dc](const auto& d) { return d.get() == dc; });
    if (screen != screenDCs.end()) {
        screenDCs.erase(screen);
        return 1;
    }
    // A window's own device context stays with the window.
    return platform::isWindow(window) && dc == &window->dc ? 1 : 0;
}
