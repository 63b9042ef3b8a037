#include <gtest/gtest.h>

#include <cstring>

#include "fakeSystem.h"
#include "window/window.h"

using Calls = std::vector<std::string>;

namespace {

struct InitWindowTest : testing::Test {
    WindowInfo info = {fake::instance, nullptr, nullptr, nullptr, 1, "ZEMA"};
    void SetUp() override { fake::reset(); }
};

TEST_F(InitWindowTest, FullscreenSwitchesTheModeThenMakesWindowAndContextInOrder)
{
    // The display count may already be above zero (a mouse, another caller).
    fake::system().cursorCount = 1;

    ASSERT_EQ(initWindow(&info), 1);

    EXPECT_EQ(fake::system().calls,
              (Calls{"CreateSolidBrush(0x0)",
                     "RegisterClassA(ZEMA)",
                     "ChangeDisplaySettingsA(1920x1080x32, 4)",
                     "ShowCursor(0) -> 0",
                     "ShowCursor(0) -> -1",
                     "AdjustWindowRect(0x90000000, 0)",
                     // Metrics read after the mode change put the window at 0, 0.
                     "CreateWindowExA(0x40000, ZEMA, rezuro by Vosk, 0x90000000, 0, 0, 1920, 1080, null, null, "
                     "instance, null)",
                     "GetDC(window)",
                     "ChoosePixelFormat(dc)",
                     "SetPixelFormat(dc, 7)",
                     "wglCreateContext(dc)",
                     "wglMakeCurrent(dc, context)"}));
    EXPECT_EQ(info.hWnd, fake::window);
    EXPECT_EQ(info.hDC, fake::dc);
    EXPECT_EQ(info.hRC, fake::context);
}

TEST_F(InitWindowTest, ClassModeAndPixelFormatRecordsCarryExactlyTheRequestedFields)
{
    ASSERT_EQ(initWindow(&info), 1);
    const auto& s = fake::system();

    ASSERT_TRUE(s.registeredClass);
    const WNDCLASSA& wc = *s.registeredClass;
    EXPECT_EQ(wc.style, 0x23u);
    EXPECT_EQ(wc.lpfnWndProc, &windowProc);
    EXPECT_EQ(wc.hInstance, fake::instance);
    EXPECT_STREQ(wc.lpszClassName, "ZEMA");
    EXPECT_EQ(wc.hbrBackground, fake::brush);
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.hCursor, nullptr);
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);

    // Any stray field (a refresh rate, a position) could make a driver refuse.
    DEVMODEA mode = {};
    mode.dmSize = 156;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = 1920;
    mode.dmPelsHeight = 1080;
    ASSERT_TRUE(s.requestedMode);
    EXPECT_EQ(std::memcmp(&*s.requestedMode, &mode, sizeof mode), 0);

    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = 40;
    pfd.nVersion = 1;
    pfd.dwFlags = 0x25;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    ASSERT_TRUE(s.chosenFormat && s.setFormat);
    EXPECT_EQ(std::memcmp(&*s.chosenFormat, &pfd, sizeof pfd), 0);
    EXPECT_EQ(std::memcmp(&*s.setFormat, &pfd, sizeof pfd), 0);
}

TEST_F(InitWindowTest, WindowedKeepsTheModeAndCentresTheFramedWindowRoundingDown)
{
    info.fullscreen = 0;
    auto& s = fake::system();
    s.frame = {-8, -31, 8, 8};
    s.screenWidth = 1280;
    s.screenHeight = 720;

    ASSERT_EQ(initWindow(&info), 1);

    // 1936 x 1119 outside; (1280 - 1936) / 2 and (720 - 1119) / 2 rounded
    // towards minus infinity: -328 and -200.
    EXPECT_EQ(s.calls,
              (Calls{"CreateSolidBrush(0x0)",
                     "RegisterClassA(ZEMA)",
                     "AdjustWindowRect(0x90cf0000, 0)",
                     "CreateWindowExA(0x0, ZEMA, rezuro by Vosk, 0x90cf0000, -328, -200, 1936, 1119, null, null, "
                     "instance, null)",
                     "GetDC(window)",
                     "ChoosePixelFormat(dc)",
                     "SetPixelFormat(dc, 7)",
                     "wglCreateContext(dc)",
                     "wglMakeCurrent(dc, context)"}));
    EXPECT_EQ(s.cursorCount, 0);
}

} // namespace
