#include "fakeSystem.h"

#include <GL/gl.h>

#include <cstdio>
#include <sstream>

namespace fake {

System& system()
{
    static System s;
    return s;
}

void reset() { system() = System{}; }

std::string name(const void* handle)
{
    if (!handle)
        return "null";
    if (handle == instance)
        return "instance";
    if (handle == window)
        return "window";
    if (handle == dc)
        return "dc";
    if (handle == context)
        return "context";
    if (handle == brush)
        return "brush";
    return text(handle);
}

static void record(std::string line) { system().calls.push_back(std::move(line)); }
static bool fails(const char* call) { return system().failing == call; }

} // namespace fake

using fake::hex;
using fake::record;
using fake::name;
using fake::text;

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    record(text("CreateSolidBrush(", hex(color), ")"));
    return fake::brush;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc)
{
    record(text("RegisterClassA(", wc->lpszClassName, ")"));
    fake::system().registeredClass = *wc;
    return fake::fails("RegisterClassA") ? 0 : 0xC001;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance)
{
    record(text("UnregisterClassA(", className, ", ", name(instance), ")"));
    return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags)
{
    auto& s = fake::system();
    if (!mode) {
        record(text("ChangeDisplaySettingsA(null, ", flags, ")"));
        s.modeChanged = false;
        return DISP_CHANGE_SUCCESSFUL;
    }
    record(text("ChangeDisplaySettingsA(", mode->dmPelsWidth, "x", mode->dmPelsHeight, "x", mode->dmBitsPerPel, ", ",
             flags, ")"));
    s.requestedMode = *mode;
    if (fake::fails("ChangeDisplaySettingsA"))
        return DISP_CHANGE_BADMODE;
    s.modeChanged = true;
    return DISP_CHANGE_SUCCESSFUL;
}

int WINAPI ShowCursor(BOOL show)
{
    auto& s = fake::system();
    s.cursorCount += show ? 1 : -1;
    record(text("ShowCursor(", show, ") -> ", s.cursorCount));
    return s.cursorCount;
}

BOOL WINAPI AdjustWindowRect(RECT* rect, DWORD style, BOOL menu)
{
    record(text("AdjustWindowRect(", hex(style), ", ", menu, ")"));
    const RECT& f = fake::system().frame;
    rect->left += f.left;
    rect->top += f.top;
    rect->right += f.right;
    rect->bottom += f.bottom;
    return TRUE;
}

int WINAPI GetSystemMetrics(int index)
{
    const auto& s = fake::system();
    // The screen takes the requested size once the mode has changed.
    if (index == SM_CXSCREEN)
        return s.modeChanged ? 1920 : s.screenWidth;
    if (index == SM_CYSCREEN)
        return s.modeChanged ? 1080 : s.screenHeight;
    return 0;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    record(text("CreateWindowExA(", hex(exStyle), ", ", className, ", ", windowName, ", ", hex(style), ", ", x, ", ", y,
             ", ", width, ", ", height, ", ", name(parent), ", ", name(menu), ", ", name(instance), ", ",
             name(param), ")"));
    return fake::fails("CreateWindowExA") ? nullptr : fake::window;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    record(text("DestroyWindow(", name(window), ")"));
    return TRUE;
}

HDC WINAPI GetDC(HWND window)
{
    record(text("GetDC(", name(window), ")"));
    return fake::fails("GetDC") ? nullptr : fake::dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc)
{
    record(text("ReleaseDC(", name(window), ", ", name(dc), ")"));
    return 1;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd)
{
    record(text("ChoosePixelFormat(", name(dc), ")"));
    fake::system().chosenFormat = *pfd;
    return fake::fails("ChoosePixelFormat") ? 0 : 7;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd)
{
    record(text("SetPixelFormat(", name(dc), ", ", format, ")"));
    fake::system().setFormat = *pfd;
    return fake::fails("SetPixelFormat") ? FALSE : TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc)
{
    record(text("wglCreateContext(", name(dc), ")"));
    return fake::fails("wglCreateContext") ? nullptr : fake::context;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context)
{
    record(text("wglMakeCurrent(", name(dc), ", ", name(context), ")"));
    return context && fake::fails("wglMakeCurrent") ? FALSE : TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    record(text("wglDeleteContext(", name(context), ")"));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) { record(text("PostQuitMessage(", exitCode, ")")); }

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    record(text("DefWindowProcA(", name(window), ", ", hex(message), ", ", hex(wParam), ", ", hex(lParam), ")"));
    return fake::defaultResult;
}

extern "C" void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    record(text("glViewport(", x, ", ", y, ", ", width, ", ", height, ")"));
}
