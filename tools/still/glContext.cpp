#include "tools/still/glContext.h"

#include "tools/still/errors.h"

#include <string>

namespace still {
namespace {

constexpr const char* windowClass = "rezuroStill";

} // namespace

HiddenGlContext::HiddenGlContext()
{
    instance_ = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance_;
    wc.lpszClassName = windowClass;
    const auto fail = [this](const std::string& step) {
        release();
        return StillError("no OpenGL context: " + step + " failed");
    };
    if (RegisterClassA(&wc) == 0) {
        throw fail("registering the window class");
    }
    classRegistered_ = true;
    // Without WS_VISIBLE the window never appears; all drawing goes to
    // framebuffer objects, so its size does not matter.
    window_ = CreateWindowExA(0, windowClass, "rezuro-still", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                              instance_, nullptr);
    if (window_ == nullptr) {
        throw fail("creating the hidden window");
    }
    dc_ = GetDC(window_);
    if (dc_ == nullptr) {
        throw fail("getting the window's device context");
    }
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0) {
        throw fail("choosing a pixel format");
    }
    if (!SetPixelFormat(dc_, format, &pfd)) {
        throw fail("setting the pixel format");
    }
    context_ = wglCreateContext(dc_);
    if (context_ == nullptr) {
        throw fail("creating the GL context");
    }
    if (!wglMakeCurrent(dc_, context_)) {
        throw fail("making the GL context current");
    }
}

HiddenGlContext::~HiddenGlContext() { release(); }

void HiddenGlContext::release()
{
    if (context_ != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        context_ = nullptr;
    }
    if (dc_ != nullptr) {
        ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (classRegistered_) {
        UnregisterClassA(windowClass, instance_);
        classRegistered_ = false;
    }
}

} // namespace still
