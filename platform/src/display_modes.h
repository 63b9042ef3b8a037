// The display mode the program asked for with ChangeDisplaySettingsA.
#pragma once

namespace platform {

struct ScreenSize {
    int width;
    int height;
};

// The screen as the program sees it: the changed mode while one holds, else
// the desktop.
ScreenSize screenSize();
// True while a mode set with CDS_FULLSCREEN holds.
bool fullscreenModeActive();

} // namespace platform
