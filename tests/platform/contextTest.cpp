// Pixel formats, GL contexts and entry points through WGL.
#include "recordingWindow.h"
#include "window_registry.h"

#include <platformTesting.h>
#include <testGLContext.h>

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace {

PIXELFORMATDESCRIPTOR request(DWORD flags, BYTE color, BYTE alpha, BYTE depth, BYTE stencil = 0)
{
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = flags;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = color;
    pfd.cAlphaBits = alpha;
    pfd.cDepthBits = depth;
    pfd.cStencilBits = stencil;
    return pfd;
}

constexpr DWORD windowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

// SDL's offscreen driver draws into EGL pbuffers, which have no back buffer.
bool offscreen()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::string(driver) == "offscreen";
}

std::string glString(GLenum name)
{
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text != nullptr ? text : "";
}

TEST(GLContext, IsOpenGL46CompatibilityWithGLSL460)
{
    ASSERT_TRUE(createTestGLContext(32, 24));
    EXPECT_EQ(glString(GL_VERSION).rfind("4.6", 0), 0u) << glString(GL_VERSION);
    EXPECT_NE(glString(GL_VERSION).find("Compatibility"), std::string::npos) << glString(GL_VERSION);
    EXPECT_EQ(glString(0x8B8C /* GL_SHADING_LANGUAGE_VERSION */).rfind("4.60", 0), 0u);
    // The first binding to a window sets the viewport to its client area.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 24);
    destroyTestGLContext();
}

TEST(GLContext, ProgramPixelFormatRequestGetsADoubleBufferedRGBAFormat)
{
    // The program's own request: 32-bit colour, 8 alpha, 32 depth, double buffered.
    RecordingWindow window;
    HDC dc = GetDC(window.handle());
    const PIXELFORMATDESCRIPTOR pfd = request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 32);
    const int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_NE(format, 0);
    SDL_Window* surface = window.handle()->sdlWindow;
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    // The usual request fits the surface the window was made with, so a
    // (fullscreen) window is not made a second time.
    EXPECT_EQ(window.handle()->sdlWindow, surface);
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    GLint bits[4] = {};
    glGetIntegerv(GL_RED_BITS, &bits[0]);
    glGetIntegerv(GL_ALPHA_BITS, &bits[1]);
    glGetIntegerv(GL_DEPTH_BITS, &bits[2]);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(bits[0], 8);
    EXPECT_EQ(bits[1], 8);
    EXPECT_GE(bits[2], 24);
    if (!offscreen()) {
        EXPECT_EQ(doubleBuffered, GL_TRUE);
    }
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
    EXPECT_FALSE(wglDeleteContext(context));
}

TEST(GLContext, ChoosePixelFormatPicksTheClosest)
{
    RecordingWindow window;
    HDC dc = GetDC(window.handle());
    struct Case {
        PIXELFORMATDESCRIPTOR pfd;
        bool doubleBuffer;
        int minDepth;
        int alpha;
    };
    const Case cases[] = {
        {request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 32), true, 24, 8},
        {request(windowGL | PFD_DOUBLEBUFFER, 24, 0, 16), true, 16, 0},
        {request(windowGL, 32, 8, 24), false, 24, 8},
        {request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 8), true, 24, 8},
    };
    for (const Case& c : cases) {
        RecordingWindow fresh;
        HDC freshDC = GetDC(fresh.handle());
        const int format = ChoosePixelFormat(freshDC, &c.pfd);
        ASSERT_NE(format, 0);
        ASSERT_TRUE(SetPixelFormat(freshDC, format, &c.pfd));
        HGLRC context = wglCreateContext(freshDC);
        ASSERT_NE(context, nullptr);
        ASSERT_TRUE(wglMakeCurrent(freshDC, context));
        GLboolean doubleBuffered = GL_FALSE;
        glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
        GLint depth = 0;
        GLint alpha = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depth);
        glGetIntegerv(GL_ALPHA_BITS, &alpha);
        if (!offscreen()) {
            EXPECT_EQ(doubleBuffered == GL_TRUE, c.doubleBuffer);
        }
        EXPECT_GE(depth, c.minDepth);
        if (c.alpha > 0) {
            EXPECT_EQ(alpha, c.alpha);
        }
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
    }
    PIXELFORMATDESCRIPTOR indexed = request(windowGL, 8, 0, 0);
    indexed.iPixelType = 1; // colour-index formats are not offered
    EXPECT_EQ(ChoosePixelFormat(dc, &indexed), 0);
    EXPECT_EQ(ChoosePixelFormat(dc, nullptr), 0);
}

TEST(GLContext, WindowFormatIsSetOnceAndNeededForAContext)
{
    RecordingWindow window;
    HDC dc = GetDC(window.handle());
    EXPECT_EQ(wglCreateContext(dc), nullptr) << "no pixel format yet";
    EXPECT_EQ(wglCreateContext(nullptr), nullptr);
    HDC screen = GetDC(nullptr);
    const PIXELFORMATDESCRIPTOR pfd = request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 24);
    EXPECT_FALSE(SetPixelFormat(screen, 1, &pfd)) << "the screen is not a GL window";
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(SetPixelFormat(dc, 0, &pfd));
    EXPECT_FALSE(SetPixelFormat(dc, 1000, &pfd));

    const int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    EXPECT_TRUE(SetPixelFormat(dc, format, &pfd)) << "the same format again is fine";
    const PIXELFORMATDESCRIPTOR single = request(windowGL, 32, 8, 24);
    const int other = ChoosePixelFormat(dc, &single);
    ASSERT_NE(other, format);
    EXPECT_FALSE(SetPixelFormat(dc, other, &single)) << "a window's format cannot change";
}

TEST(GLContext, CreatingAContextLeavesTheCurrentOneCurrent)
{
    ASSERT_TRUE(createTestGLContext(8, 8));
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f); // state that belongs to the test context

    RecordingWindow window;
    HDC dc = GetDC(window.handle());
    const PIXELFORMATDESCRIPTOR pfd = request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 24);
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
    HGLRC second = wglCreateContext(dc);
    ASSERT_NE(second, nullptr);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[1], 0.5f) << "the earlier context must still be current";

    ASSERT_TRUE(wglMakeCurrent(dc, second));
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[1], 0.0f);
    // Deleting the current context leaves none current.
    EXPECT_TRUE(wglDeleteContext(second));
    EXPECT_EQ(wglGetProcAddress("glCreateShader"), nullptr);
    destroyTestGLContext();
}

TEST(GLContext, ProcAddressIsNullForUnknownHiddenOrWithoutContext)
{
    EXPECT_EQ(wglGetProcAddress("glCreateShader"), nullptr) << "no context is current";
    ASSERT_TRUE(createTestGLContext(8, 8));
    EXPECT_NE(wglGetProcAddress("glCreateShader"), nullptr);
    EXPECT_NE(wglGetProcAddress("glGenFramebuffers"), nullptr);
    EXPECT_EQ(wglGetProcAddress("glNoSuchFunctionRezuro"), nullptr);
    EXPECT_EQ(wglGetProcAddress("glNoSuchFunctionRezuro"), nullptr) << "asking twice changes nothing";
    EXPECT_EQ(wglGetProcAddress(""), nullptr);
    EXPECT_EQ(wglGetProcAddress(nullptr), nullptr);

    platformHideProcAddress("glCreateShader");
    EXPECT_EQ(wglGetProcAddress("glCreateShader"), nullptr);
    EXPECT_NE(wglGetProcAddress("glShaderSource"), nullptr) << "only the hidden name is affected";
    platformClearHiddenProcAddresses();
    EXPECT_NE(wglGetProcAddress("glCreateShader"), nullptr);
    destroyTestGLContext();
}

TEST(GLContext, SwapNeedsTheWindowsContextCurrent)
{
    RecordingWindow window;
    HDC dc = GetDC(window.handle());
    EXPECT_FALSE(SwapBuffers(dc)) << "no pixel format";
    EXPECT_FALSE(SwapBuffers(nullptr));
    const PIXELFORMATDESCRIPTOR pfd = request(windowGL | PFD_DOUBLEBUFFER, 32, 8, 24);
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
    HGLRC context = wglCreateContext(dc);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_TRUE(SwapBuffers(dc));
    // Destroying the window drops the context it was current on.
    ASSERT_TRUE(DestroyWindow(window.handle()));
    window.forget();
    EXPECT_EQ(wglGetProcAddress("glCreateShader"), nullptr);
    EXPECT_TRUE(wglDeleteContext(context));
}

} // namespace
