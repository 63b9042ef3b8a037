// Start-up of SDL's video subsystem, shared by every part of the layer that
// needs a window, a display or a GL library.
#pragma once

namespace platform {

// Initialises SDL video once (choosing the offscreen driver when there is no
// display, and asking Mesa for its 4.6 compatibility context). Returns false,
// with the reason on standard error, when video cannot start.
bool ensureVideo();
// True once ensureVideo has succeeded.
bool videoReady();
// True when SDL runs on its offscreen driver (no display at all).
bool offscreenVideo();

} // namespace platform
