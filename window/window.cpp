// Placeholder until the render window lands.
#include "window/window.h"

WindowInfo windowInfo = {nullptr, nullptr, nullptr, nullptr, 0, "ZEMA"};

int initWindow(WindowInfo*) { return 0; }
void closeWindow(WindowInfo*) {}
LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
