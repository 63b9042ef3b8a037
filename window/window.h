// The render window and its GL context.
#pragma once

#include <windows.h>

struct WindowInfo {
    HINSTANCE hInstance;
    HDC hDC;
    HGLRC hRC;
    HWND hWnd;
    int fullscreen;
    char className[8];
};

extern WindowInfo windowInfo;

// 1 when the window exists and its GL context is current, 0 at the first step
// that fails; the caller then calls closeWindow.
int initWindow(WindowInfo* info);
// Releases whatever initWindow made and, in fullscreen, restores the display
// mode and the pointer.
void closeWindow(WindowInfo* info);
LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
