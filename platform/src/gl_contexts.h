// What the window part must tell the WGL part.
#pragma once

#include <windows.h>

namespace platform {

// The window is going away: a context current on it is current no more.
void windowClosing(HWND window);

} // namespace platform
