// The device context record shared by the window part (window DCs, pixel
// formats, SwapBuffers) and the GDI part (memory DCs, text drawing).
#pragma once

#include <windows.h>

struct HDC__ {
    HWND window = nullptr;    // the window of a window DC; null for screen and memory DCs
    bool memory = false;      // made by CreateCompatibleDC
    HBITMAP bitmap = nullptr; // objects selected into a memory DC
    HFONT font = nullptr;
    HBRUSH brush = nullptr;   // null stands for the stock white brush of a new DC
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
};
