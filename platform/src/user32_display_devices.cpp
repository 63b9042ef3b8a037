// EnumDisplayDevicesA: one adapter, named as the GL driver names its renderer.
#include "pixel_formats.h"
#include "sdl_video.h"
#include "wgl_state.h"

#include <windows.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstddef>
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

// GL_RENDERER from a short-lived hidden window and context; asked once.
const std::optional<std::string>& rendererName()
{
    static const std::optional<std::string> name = []() -> std::optional<std::string> {
        if (!platform::ensureVideo())
            return std::nullopt;
        platform::CurrentContextGuard keep;
        platform::applyPixelFormat(platform::defaultPixelFormat);
        SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window == nullptr)
            return std::nullopt;
        std::optional<std::string> result;
        platform::requestLegacyContext();
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
            if (const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER)))
                result = renderer;
            SDL_GL_MakeCurrent(nullptr, nullptr);
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
        return result;
    }();
    return name;
}

void copyText(CHAR (&field)[32], const char* text) { std::strncpy(field, text, sizeof field - 1); }
template <std::size_t N> void copyText(CHAR (&field)[N], const std::string& text)
{
    std::strncpy(field, text.c_str(), N - 1);
    field[N - 1] = '\0';
}

} // namespace

BOOL WINAPI EnumDisplayDevicesA(LPCSTR device, DWORD index, DISPLAY_DEVICEA* displayDevice, DWORD)
{
    // Adapters only (no monitors of a named device), and there is one.
    if (device != nullptr || index != 0 || displayDevice == nullptr)
        return FALSE;
    // A caller's record must at least reach past the description and flags.
    if (displayDevice->cb < offsetof(DISPLAY_DEVICEA, DeviceID))
        return FALSE;
    const std::optional<std::string>& renderer = rendererName();
    if (!renderer)
        return FALSE;

    const DWORD size = displayDevice->cb;
    DISPLAY_DEVICEA filled{};
    filled.cb = size;
    copyText(filled.DeviceName, "\\\\.\\DISPLAY1");
    copyText(filled.DeviceString, *renderer);
    filled.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
    // Older, shorter records get only the fields that fit.
    std::memcpy(displayDevice, &filled, std::min<std::size_t>(size, sizeof filled));
    return TRUE;
}
