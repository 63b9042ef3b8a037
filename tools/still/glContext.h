// A GL context on a window that is never shown, made through the same Win32
// calls as the program's own window.
#pragma once

#include <windows.h>

namespace still {

class HiddenGlContext {
public:
    // Throws StillError saying which step failed.
    HiddenGlContext();
    ~HiddenGlContext();
    HiddenGlContext(const HiddenGlContext&) = delete;
    HiddenGlContext& operator=(const HiddenGlContext&) = delete;

private:
    void release();

    HINSTANCE instance_ = nullptr;
    bool classRegistered_ = false;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};

} // namespace still
