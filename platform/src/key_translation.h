// Keyboard input in Windows terms: virtual-key codes and the characters
// TranslateMessage makes of them.
#pragma once

#include <windows.h>

#include <SDL.h>

namespace platform {

// The Windows virtual-key code of an SDL key, or 0 for a key Windows has no code for.
WPARAM virtualKeyFor(SDL_Keycode key);
// The character a key produces with these modifiers on a US layout, or 0
// when it produces none (function keys, arrows, modifiers).
char characterFor(WPARAM virtualKey, Uint16 modifiers);

} // namespace platform
