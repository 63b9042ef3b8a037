#include "testGLContext.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr const char* className = "rezuroTestGL";

struct TestContext {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    bool classRegistered = false;
};

TestContext test;

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

bool fail(const char* step)
{
    std::fprintf(stderr, "createTestGLContext: %s failed\n", step);
    destroyTestGLContext();
    return false;
}

} // namespace

bool createTestGLContext(int width, int height)
{
    destroyTestGLContext();
    if (width <= 0 || height <= 0)
        return fail("a positive size");

    WNDCLASSA wc{};
    wc.lpfnWndProc = testWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    if (RegisterClassA(&wc) == 0)
        return fail("RegisterClassA");
    test.classRegistered = true;

    // A popup has no frame, so the window's size is its client size.
    test.window = CreateWindowExA(0, className, "rezuro test", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (test.window == nullptr)
        return fail("CreateWindowExA");
    test.dc = GetDC(test.window);
    if (test.dc == nullptr)
        return fail("GetDC");

    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(test.dc, &pfd);
    if (format == 0)
        return fail("ChoosePixelFormat");
    if (!SetPixelFormat(test.dc, format, &pfd))
        return fail("SetPixelFormat");
    test.context = wglCreateContext(test.dc);
    if (test.context == nullptr)
        return fail("wglCreateContext");
    if (!wglMakeCurrent(test.dc, test.context))
        return fail("wglMakeCurrent");
    return true;
}

void destroyTestGLContext()
{
    if (test.context != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(test.context);
    }
    if (test.dc != nullptr)
        ReleaseDC(test.window, test.dc);
    if (test.window != nullptr)
        DestroyWindow(test.window);
    if (test.classRegistered)
        UnregisterClassA(className, GetModuleHandleA(nullptr));
    test = TestContext{};
}
