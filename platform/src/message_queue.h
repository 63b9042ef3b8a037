// The thread's queue of posted messages, as seen by the other parts of the layer.
#pragma once

#include <windows.h>

#include <SDL.h>

namespace platform {

// Posts a message at the back of the queue, with the keyboard modifiers that
// held when the input happened (they become the key state TranslateMessage sees).
void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Uint16 keyModifiers = 0);
// Drops every queued message addressed to a window that is going away.
void dropMessagesFor(HWND window);

} // namespace platform
