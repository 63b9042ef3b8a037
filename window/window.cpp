#include "window/window.h"

#include <windows.h>
#include <GL/gl.h>

#include "host/config.h"

WindowInfo windowInfo = {nullptr, nullptr, nullptr, nullptr, 0, "ZEMA"};

static const char windowTitle[] = "rezuro by Vosk";

// Double-buffered RGBA with alpha and depth; nothing else is asked for.
static const PIXELFORMATDESCRIPTOR pixelFormat = {
    sizeof(PIXELFORMATDESCRIPTOR),
    1,
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA,
    32,                // colour bits
    0, 0, 0, 0, 0, 0,  // per-channel bits and shifts
    8,                 // alpha bits
    0,                 // alpha shift
    0, 0, 0, 0, 0,     // accumulation bits
    32,                // depth bits
    0,                 // stencil bits
    0,                 // aux buffers
    PFD_MAIN_PLANE,
    0, 0, 0, 0,
};

int initWindow(WindowInfo* info)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = info->hInstance;
    windowClass.lpszClassName = info->className;
    windowClass.hbrBackground = CreateSolidBrush(0);
    if (!RegisterClassA(&windowClass))
        return 0;

    DWORD exStyle;
    DWORD style;
    if (info->fullscreen) {
        DEVMODEA dmScreenSettings = {};
        dmScreenSettings.dmSize = sizeof(dmScreenSettings);
        dmScreenSettings.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        dmScreenSettings.dmBitsPerPel = 32;
        dmScreenSettings.dmPelsWidth = renderWidth;
        dmScreenSettings.dmPelsHeight = renderHeight;
        if (ChangeDisplaySettingsA(&dmScreenSettings, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
            return 0;
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP | WS_VISIBLE;
        // The display count may start above zero; hide until it is negative.
        while (ShowCursor(FALSE) >= 0) {
        }
    } else {
        exStyle = 0;
        style = WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    }

    RECT rect = {0, 0, (LONG)renderWidth, (LONG)renderHeight};
    AdjustWindowRect(&rect, style, FALSE);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - rect.right + rect.left) >> 1;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - rect.bottom + rect.top) >> 1;

    info->hWnd = CreateWindowExA(exStyle, info->className, windowTitle, style, x, y, width, height, nullptr,
                                 nullptr, info->hInstance, nullptr);
    if (!info->hWnd)
        return 0;

    info->hDC = GetDC(info->hWnd);
    if (!info->hDC)
        return 0;

    const int format = ChoosePixelFormat(info->hDC, &pixelFormat);
    if (!format)
        return 0;
    if (!SetPixelFormat(info->hDC, format, &pixelFormat))
        return 0;

    info->hRC = wglCreateContext(info->hDC);
    if (!info->hRC)
        return 0;

    if (!wglMakeCurrent(info->hDC, info->hRC))
        return 0;

    return 1;
}

void closeWindow(WindowInfo* info)
{
    if (info->hRC) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(info->hRC);
    }
    if (info->hDC)
        ReleaseDC(info->hWnd, info->hDC);
    if (info->hWnd)
        DestroyWindow(info->hWnd);
    UnregisterClassA(info->className, info->hInstance);

    if (info->fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        while (ShowCursor(TRUE) < 0) {
        }
    }
}

LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Keep the screen saver and monitor power-down away while rendering.
    if (message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER))
        return 0;

    // A close request does not destroy the window here; closeWindow does that
    // once the loop has ended.
    if (message == WM_CLOSE || message == WM_DESTROY || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }

    // Before the GL context exists this has no effect; binding the context
    // later sets the viewport to the whole window anyway.
    if (message == WM_SIZE)
        glViewport(0, 0, (GLsizei)(lParam & 0xFFFF), (GLsizei)((DWORD)lParam >> 16));

    if (message == WM_CHAR && wParam == 27) {
        PostQuitMessage(0);
        return 0;
    }

    return DefWindowProcA(hWnd, message, wParam, lParam);
}
