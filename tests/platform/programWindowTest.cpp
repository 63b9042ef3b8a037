// The program's own window code (initWindow, windowProc, closeWindow) on this
// layer: what a user of the program sees of the display, the pointer, the
// screen saver and the GL context, and how the run ends.
#include "window/window.h"

#include "recordingWindow.h"
#include "window_registry.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace {

bool offscreen()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::string(driver) == "offscreen";
}

// Pumps as the run loop does, until WM_QUIT or about `seconds` have passed.
bool pumpUntilQuit(double seconds)
{
    const Uint32 end = SDL_GetTicks() + static_cast<Uint32>(seconds * 1000);
    while (SDL_GetTicks() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (msg.message == WM_QUIT)
                return true;
        }
        SDL_Delay(5);
    }
    return false;
}

class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        windowInfo = WindowInfo{GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, 1, "ZEMA"};
        if (GetSystemMetrics(SM_CXSCREEN) != 1920 || GetSystemMetrics(SM_CYSCREEN) != 1080)
            GTEST_SKIP() << "needs a 1920 x 1080 screen";
        ASSERT_EQ(initWindow(&windowInfo), 1);
        drainQueue();
    }
    void TearDown() override
    {
        if (windowInfo.hWnd == nullptr)
            return;
        closeWindow(&windowInfo);
        drainQueue();
        // Everything the program changed is given back.
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        EXPECT_EQ(SDL_IsScreenSaverEnabled(), SDL_TRUE);
        EXPECT_EQ(GetDC(windowInfo.hWnd), nullptr) << "the window is gone";
        struct sigaction term{};
        sigaction(SIGTERM, nullptr, &term);
        EXPECT_EQ(term.sa_handler, SIG_DFL);
        EXPECT_EQ(ShowCursor(FALSE), -1) << "the display count is back at zero";
        ShowCursor(TRUE);
    }
};

TEST_F(ProgramWindow, FullscreenWindowWithCurrentContextPointerHiddenScreenSaverHeld)
{
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::string(version).rfind("4.6", 0), 0u);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1920);
    EXPECT_EQ(viewport[3], 1080);
    if (!offscreen()) {
        EXPECT_NE(SDL_GetWindowFlags(windowInfo.hWnd->sdlWindow) & SDL_WINDOW_FULLSCREEN, 0u);
    }
    // The program's procedure swallows the screen-saver commands.
    EXPECT_FALSE(pumpUntilQuit(0.05));
    EXPECT_EQ(SDL_IsScreenSaverEnabled(), SDL_FALSE);
    EXPECT_TRUE(SwapBuffers(windowInfo.hDC));
}

TEST_F(ProgramWindow, EscapeKeyEndsTheLoop)
{
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&key);
    EXPECT_TRUE(pumpUntilQuit(2));
}

TEST_F(ProgramWindow, TerminationSignalEndsTheLoopWithoutDestroyingTheWindow)
{
    std::raise(SIGTERM);
    EXPECT_TRUE(pumpUntilQuit(2));
    EXPECT_NE(GetDC(windowInfo.hWnd), nullptr) << "closeWindow destroys the window, not the close request";
}

// Real keys through the X server (only under Xvfb with xdotool).
TEST_F(ProgramWindow, RealEscapeAndAltF4FromTheXServerEndTheLoop)
{
    if (offscreen() || std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs an X display and xdotool";
    pumpUntilQuit(0.3); // let the window be mapped
    for (const char* keys : {"Escape", "alt+F4"}) {
        SCOPED_TRACE(keys);
        drainQueue();
        const std::string command = std::string("xdotool mousemove 960 540 key ") + keys;
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_TRUE(pumpUntilQuit(5));
    }
}

} // namespace
