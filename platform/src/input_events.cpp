// SDL events as Windows would deliver them: keys as WM_KEYDOWN/WM_SYSKEYDOWN
// with virtual-key codes, a close request as WM_CLOSE, a new client size as
// WM_SIZE. A caught Ctrl+C, SIGTERM or SIGHUP closes the windows the same way.
#include "input_events.h"

#include "key_translation.h"
#include "message_queue.h"
#include "termination_signals.h"
#include "window_registry.h"

#include <SDL.h>

namespace platform {
namespace {

HWND targetOf(Uint32 windowId)
{
    if (HWND w = windowFromSdlId(windowId))
        return w;
    return focusWindow();
}

void translateKey(const SDL_KeyboardEvent& key)
{
    const WPARAM virtualKey = virtualKeyFor(key.keysym.sym);
    if (virtualKey == 0)
        return;
    const Uint16 modifiers = key.keysym.mod;
    const bool down = key.type == SDL_KEYDOWN;
    const bool alt = (modifiers & KMOD_ALT) != 0 || virtualKey == VK_MENU;
    const bool control = (modifiers & KMOD_CTRL) != 0;
    // Windows makes a "system" key of anything pressed with Alt (but not with
    // Ctrl as well, which is AltGr), of Alt itself and of F10.
    const bool system = !control && (alt || virtualKey == VK_F10);

    // lParam: repeat count 1, the Alt context bit, the previous key state and
    // the transition bit, as Windows lays them out.
    LPARAM lParam = 1;
    if (alt && !control)
        lParam |= LPARAM{1} << 29;
    if (!down || key.repeat)
        lParam |= LPARAM{1} << 30;
    if (!down)
        lParam |= LPARAM{1} << 31;

    const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    postMessage(targetOf(key.windowID), message, virtualKey, lParam, modifiers);
}

void translateWindowEvent(const SDL_WindowEvent& event)
{
    HWND window = windowFromSdlId(event.windowID);
    if (window == nullptr)
        return;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        postMessage(window, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // SDL also reports the sizes we set ourselves; pass on real changes only.
        if (event.data1 != window->clientWidth || event.data2 != window->clientHeight) {
            window->clientWidth = event.data1;
            window->clientHeight = event.data2;
            postMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.data1, event.data2));
        }
        break;
    default:
        break;
    }
}

} // namespace

void translateInputEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            translateKey(event.key);
            break;
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window);
            break;
        default:
            break;
        }
    }
    if (takeTerminationRequest())
        for (HWND window : liveWindows())
            postMessage(window, WM_CLOSE, 0, 0);
}

} // namespace platform
