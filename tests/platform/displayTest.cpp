// Display modes, screen size, frames, the pointer counter, the adapter's name,
// the message box and the tick counter.
#include "recordingWindow.h"
#include "window_registry.h"

#include <platformTesting.h>
#include <testGLContext.h>

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool offscreen()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::string(driver) == "offscreen";
}

DEVMODEA modeOf(DWORD width, DWORD height, DWORD bits)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = bits;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    return mode;
}

TEST(DisplayModes, OnlyOfferedModesAreAcceptedAndTheScreenFollowsThem)
{
    GetSystemMetrics(SM_CXSCREEN); // starts video
    if (!offscreen())
        GTEST_SKIP() << "the virtual screen of SDL's offscreen driver";
    // SDL's offscreen driver: a virtual 1920 x 1080 desktop.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);

    struct Case {
        DWORD width;
        DWORD height;
        DWORD bits;
        LONG result;
    };
    const Case cases[] = {
        {1921, 1080, 32, DISP_CHANGE_BADMODE},
        {1920, 1080, 16, DISP_CHANGE_BADMODE},
        {1920, 1080, 24, DISP_CHANGE_BADMODE},
        {3840, 2160, 32, DISP_CHANGE_BADMODE},
        {1280, 720, 32, DISP_CHANGE_SUCCESSFUL},
        {1920, 1080, 32, DISP_CHANGE_SUCCESSFUL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" + std::to_string(c.bits));
        DEVMODEA mode = modeOf(c.width, c.height, c.bits);
        EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), c.result);
        if (c.result == DISP_CHANGE_SUCCESSFUL) {
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(c.width));
            EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), static_cast<int>(c.height));
        }
        EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    }

    // A refused mode leaves an earlier change in place; a test changes nothing.
    DEVMODEA small = modeOf(1024, 768, 32);
    ASSERT_EQ(ChangeDisplaySettingsA(&small, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    DEVMODEA bad = modeOf(1000, 700, 32);
    EXPECT_EQ(ChangeDisplaySettingsA(&bad, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA probe = modeOf(1280, 720, 32);
    EXPECT_EQ(ChangeDisplaySettingsA(&probe, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ChangeDisplaySettingsA(nullptr, 0);
}

TEST(DisplayModes, FullscreenPopupTakesTheChangedModeAndGivesItBack)
{
    GetSystemMetrics(SM_CXSCREEN);
    if (!offscreen())
        GTEST_SKIP() << "the virtual screen of SDL's offscreen driver";
    DEVMODEA mode = modeOf(1280, 720, 32);
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    RecordingWindow covering(WS_POPUP | WS_VISIBLE, 1280, 720);
    RecordingWindow smaller(WS_POPUP | WS_VISIBLE, 640, 480);
    ASSERT_NE(covering.handle(), nullptr);
    EXPECT_TRUE(covering.handle()->fullscreen);
    EXPECT_FALSE(smaller.handle()->fullscreen);
    ChangeDisplaySettingsA(nullptr, 0);
    EXPECT_FALSE(covering.handle()->fullscreen);
}

// Run under Xvfb with one 1920 x 1080 screen of depth 24 (see CMakeLists.txt).
TEST(RealDisplay, DepthTwentyFourScreenTakesThirtyTwoBitModeOfItsOwnSizeOnly)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (offscreen() || width != 1920 || height != 1080)
        GTEST_SKIP() << "needs an X screen of 1920 x 1080";
    DEVMODEA other = modeOf(1280, 720, 32);
    EXPECT_EQ(ChangeDisplaySettingsA(&other, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA shallow = modeOf(1920, 1080, 16);
    EXPECT_EQ(ChangeDisplaySettingsA(&shallow, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA mode = modeOf(1920, 1080, 32);
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    {
        RecordingWindow window(WS_POPUP | WS_VISIBLE, 1920, 1080);
        ASSERT_NE(window.handle(), nullptr);
        EXPECT_NE(SDL_GetWindowFlags(window.handle()->sdlWindow) & SDL_WINDOW_FULLSCREEN, 0u);
        ChangeDisplaySettingsA(nullptr, 0);
        EXPECT_EQ(SDL_GetWindowFlags(window.handle()->sdlWindow) & SDL_WINDOW_FULLSCREEN, 0u);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

TEST(WindowFrames, PopupHasNoFrameAndFramedStylesGrowOutward)
{
    struct Case {
        DWORD style;
        BOOL menu;
        bool grows;
    };
    const Case cases[] = {{WS_POPUP, FALSE, false},
                          {WS_POPUP | WS_VISIBLE, FALSE, false},
                          {WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, FALSE, true},
                          {WS_OVERLAPPEDWINDOW, TRUE, true},
                          {WS_CAPTION, FALSE, true}};
    for (const Case& c : cases) {
        RECT rect{0, 0, 1920, 1080};
        ASSERT_TRUE(AdjustWindowRect(&rect, c.style, c.menu));
        if (!c.grows) {
            EXPECT_EQ(rect.left, 0);
            EXPECT_EQ(rect.top, 0);
            EXPECT_EQ(rect.right, 1920);
            EXPECT_EQ(rect.bottom, 1080);
            continue;
        }
        EXPECT_LT(rect.left, 0);
        EXPECT_GT(rect.right, 1920);
        EXPECT_GT(rect.bottom, 1080);
        EXPECT_LT(rect.top, rect.left) << "a caption makes the top edge the thickest";
        EXPECT_EQ(-rect.left, rect.right - 1920) << "left and right frames match";
    }
    EXPECT_FALSE(AdjustWindowRect(nullptr, WS_POPUP, FALSE));
}

TEST(Pointer, ShowCursorCountsAndHidesWhileNegative)
{
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(ShowCursor(FALSE), 0);
}

TEST(DisplayDevices, AdapterZeroIsNamedAfterTheGLRenderer)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    ASSERT_TRUE(EnumDisplayDevicesA(nullptr, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME));
    ASSERT_NE(std::strlen(device.DeviceString), 0u);
    EXPECT_LT(std::strlen(device.DeviceString), sizeof device.DeviceString);

    ASSERT_TRUE(createTestGLContext(16, 16));
    EXPECT_STREQ(device.DeviceString, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // Asking again leaves the caller's context current.
    DISPLAY_DEVICEA again{};
    again.cb = sizeof again;
    EXPECT_TRUE(EnumDisplayDevicesA(nullptr, 0, &again, 0));
    EXPECT_NE(glGetString(GL_VERSION), nullptr) << "the test context must still be current";
    destroyTestGLContext();

    DISPLAY_DEVICEA other{};
    other.cb = sizeof other;
    EXPECT_FALSE(EnumDisplayDevicesA(nullptr, 1, &other, 0));
    EXPECT_FALSE(EnumDisplayDevicesA("\\\\.\\DISPLAY1", 0, &other, 0));
    other.cb = 8; // too short to hold the description
    EXPECT_FALSE(EnumDisplayDevicesA(nullptr, 0, &other, 0));
    EXPECT_EQ(other.DeviceString[0], '\0');
}

TEST(MessageBox, TextAndCaptionAlsoGoToStandardError)
{
    GetSystemMetrics(SM_CXSCREEN);
    if (!offscreen())
        GTEST_SKIP() << "a real display would show a dialog that waits for a click";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Window init error!", "Oh dear", MB_ICONWARNING), IDOK);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("Oh dear"), std::string::npos);
    EXPECT_NE(written.find("Window init error!"), std::string::npos);
}

TEST(TickCount, WrapsAt32BitsAndDifferencesStayRight)
{
    platformSetTickCount(0xFFFFFFF0u);
    const DWORD start = GetTickCount();
    EXPECT_GE(start, 0xFFFFFFF0u);
    SDL_Delay(40);
    const DWORD later = GetTickCount();
    EXPECT_LT(later, start) << "the counter wrapped";
    const DWORD elapsed = later - start;
    EXPECT_GE(elapsed, 40u);
    EXPECT_LT(elapsed, 5000u);
    platformResetTickCount();
}

} // namespace
