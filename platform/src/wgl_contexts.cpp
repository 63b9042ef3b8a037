// WGL on SDL: pixel formats, GL contexts, making them current, swapping.
#include "device_context.h"
#include "gl_contexts.h"
#include "pixel_formats.h"
#include "wgl_state.h"
#include "window_registry.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<HGLRC__>> contexts;
HGLRC current = nullptr;
HDC currentDC = nullptr;

bool isContext(HGLRC context)
{
    return std::any_of(contexts.begin(), contexts.end(), [context](const auto& c) { return c.get() == context; });
}

// The window behind a window device context, or null for screen, memory and
// unknown device contexts.
HWND windowOf(HDC dc)
{
    if (dc == nullptr || dc->memory || !platform::isWindow(dc->window) || &dc->window->dc != dc)
        return nullptr;
    return dc->window;
}

} // namespace

namespace platform {

HGLRC currentContext() { return current; }

CurrentContextGuard::CurrentContextGuard()
    : window_(SDL_GL_GetCurrentWindow())
    , context_(SDL_GL_GetCurrentContext())
{
}

CurrentContextGuard::~CurrentContextGuard() { SDL_GL_MakeCurrent(window_, context_); }

void requestLegacyContext()
{
    // A context asked for with no version and no profile is what WGL's
    // wglCreateContext gives: the highest compatibility-profile version the
    // driver has.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
}

void windowClosing(HWND window)
{
    if (currentDC != nullptr && currentDC->window == window) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        current = nullptr;
        currentDC = nullptr;
    }
}

} // namespace platform

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd)
{
    if (dc == nullptr || pfd == nullptr)
        return 0;
    return platform::closestPixelFormat(*pfd);
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    HWND window = windowOf(dc);
    if (window == nullptr || platform::pixelFormat(format) == nullptr)
        return FALSE;
    // A window's pixel format is set once for its lifetime.
    if (window->pixelFormat != 0)
        return window->pixelFormat == format ? TRUE : FALSE;
    if (!platform::remakeSurface(window, format))
        return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc)
{
    HWND window = windowOf(dc);
    if (window == nullptr || window->pixelFormat == 0 || window->sdlWindow == nullptr)
        return nullptr;
    // SDL makes a new context current; WGL does not, so put back what was.
    platform::CurrentContextGuard keep;
    platform::requestLegacyContext();
    SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
    if (context == nullptr) {
        std::fprintf(stderr, "rezuro platform: cannot create a GL context: %s\n", SDL_GetError());
        return nullptr;
    }
    contexts.push_back(std::make_unique<HGLRC__>());
    contexts.back()->context = context;
    return contexts.back().get();
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context)
{
    if (context == nullptr) {
        // Releases the current context; the device context does not matter.
        SDL_GL_MakeCurrent(nullptr, nullptr);
        current = nullptr;
        currentDC = nullptr;
        return TRUE;
    }
    HWND window = windowOf(dc);
    if (!isContext(context) || window == nullptr || window->pixelFormat == 0)
        return FALSE;
    if (SDL_GL_MakeCurrent(window->sdlWindow, context->context) != 0) {
        std::fprintf(stderr, "rezuro platform: cannot make the GL context current: %s\n", SDL_GetError());
        return FALSE;
    }
    current = context;
    currentDC = dc;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    if (!isContext(context))
        return FALSE;
    if (context == current) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        current = nullptr;
        currentDC = nullptr;
    }
    SDL_GL_DeleteContext(context->context);
    std::erase_if(contexts, [context](const auto& c) { return c.get() == context; });
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc)
{
    HWND window = windowOf(dc);
    if (window == nullptr || window->pixelFormat == 0)
        return FALSE;
    // SDL swaps only the window whose context is current; a window with no
    // current context has nothing drawn to show.
    if (SDL_GL_GetCurrentWindow() != window->sdlWindow)
        return FALSE;
    SDL_GL_SwapWindow(window->sdlWindow);
    return TRUE;
}
