// The screen saver and monitor power-down follow the window procedure's answer
// to WM_SYSCOMMAND SC_SCREENSAVE / SC_MONITORPOWER.
#pragma once

#include <windows.h>

namespace platform {

// DefWindowProcA got one of the two commands: the procedure let it through.
void screenSaveCommandReachedDefault();
// Asks the foreground window's procedure (at most about once a second, and
// at once after windows come or go) and holds the screen saver off while the
// procedure swallows either command.
void refreshScreenSaver();

} // namespace platform
