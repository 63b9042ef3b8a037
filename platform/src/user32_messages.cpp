// The thread's message queue: posting, retrieval with filters, key
// translation and dispatch to the window procedure.
#include "input_events.h"
#include "key_translation.h"
#include "message_queue.h"
#include "screen_saver.h"
#include "sdl_video.h"
#include "window_registry.h"

#include <deque>

namespace {

struct QueuedMessage {
    MSG msg;
    Uint16 keyModifiers;
};

std::deque<QueuedMessage> queue;
bool quitPosted = false;
int quitCode = 0;
// The keyboard modifiers as of the last key message retrieved: Windows keeps
// the key state in step with the messages a thread has read.
Uint16 keyState = 0;

// Asked for messages "of no window" only (the documented handle -1).
const HWND threadMessagesOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (window == threadMessagesOnly ? msg.hwnd != nullptr : window != nullptr && msg.hwnd != window)
        return false;
    return (filterMin == 0 && filterMax == 0) || (msg.message >= filterMin && msg.message <= filterMax);
}

bool isKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

bool takeQueued(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!matches(it->msg, window, filterMin, filterMax))
            continue;
        *out = it->msg;
        if (isKeyMessage(it->msg.message))
            keyState = it->keyModifiers;
        if (remove)
            queue.erase(it);
        return true;
    }
    return false;
}

} // namespace

namespace platform {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Uint16 keyModifiers)
{
    queue.push_back({makeMessage(window, message, wParam, lParam), keyModifiers});
}

void dropMessagesFor(HWND window)
{
    std::erase_if(queue, [window](const QueuedMessage& q) { return q.msg.hwnd == window; });
}

} // namespace platform

void WINAPI PostQuitMessage(int exitCode)
{
    // Not a queued message but a flag: WM_QUIT comes out once, after every
    // other queued message, however often it was asked for.
    quitPosted = true;
    quitCode = exitCode;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != nullptr && !platform::isWindow(window))
        return FALSE;
    platform::postMessage(window, message, wParam, lParam);
    return TRUE;
}

BOOL WINAPI PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (msg == nullptr)
        return FALSE;
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    // Order of retrieval as on Windows: sent messages (here the screen-saver
    // question) are handled inside the call, then posted messages, then
    // input, and WM_QUIT only when nothing else is left.
    if (platform::videoReady())
        platform::refreshScreenSaver();
    if (takeQueued(msg, window, filterMin, filterMax, remove))
        return TRUE;
    if (platform::videoReady()) {
        platform::translateInputEvents();
        if (takeQueued(msg, window, filterMin, filterMax, remove))
            return TRUE;
    }
    // A filter for one window never sees WM_QUIT, as on Windows; a message
    // range filter does not hold it back.
    if (quitPosted && (window == nullptr || window == threadMessagesOnly)) {
        *msg = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
        if (remove)
            quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    if (msg == nullptr || !isKeyMessage(msg->message))
        return FALSE;
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        const char c = platform::characterFor(msg->wParam, keyState);
        if (c != 0) {
            // The character is the next message the thread reads.
            const UINT charMessage = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
            queue.push_front({makeMessage(msg->hwnd, charMessage, static_cast<unsigned char>(c), msg->lParam), keyState});
        }
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    // Messages of no window, WM_QUIT among them, go to no procedure.
    if (msg == nullptr || msg->hwnd == nullptr || !platform::isWindow(msg->hwnd))
        return 0;
    return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
