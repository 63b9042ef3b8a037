#include <gtest/gtest.h>

#include "fakeSystem.h"
#include "window/window.h"

using Calls = std::vector<std::string>;

namespace {

struct TeardownTest : testing::Test {
    WindowInfo info = {fake::instance, nullptr, nullptr, nullptr, 1, "ZEMA"};
    void SetUp() override { fake::reset(); }
};

// What closeWindow releases after initWindow stopped at each step.
struct PartialSetup {
    const char* failing;
    HWND hWnd;
    HDC hDC;
    HGLRC hRC;
    Calls teardown;
};

const Calls restoreDisplay = {"UnregisterClassA(ZEMA, instance)", "ChangeDisplaySettingsA(null, 0)"};

Calls operator+(Calls a, const Calls& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(TeardownTest, FailureAtEachStepStopsThereAndCloseReleasesExactlyWhatExists)
{
    const PartialSetup cases[] = {
        {"RegisterClassA", nullptr, nullptr, nullptr, restoreDisplay + Calls{"ShowCursor(1) -> 1"}},
        // A refused mode leaves no window and a pointer never hidden.
        {"ChangeDisplaySettingsA", nullptr, nullptr, nullptr, restoreDisplay + Calls{"ShowCursor(1) -> 1"}},
        {"CreateWindowExA", nullptr, nullptr, nullptr, restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
        {"GetDC", fake::window, nullptr, nullptr,
         Calls{"DestroyWindow(window)"} + restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
        {"ChoosePixelFormat", fake::window, fake::dc, nullptr,
         Calls{"ReleaseDC(window, dc)", "DestroyWindow(window)"} + restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
        {"SetPixelFormat", fake::window, fake::dc, nullptr,
         Calls{"ReleaseDC(window, dc)", "DestroyWindow(window)"} + restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
        {"wglCreateContext", fake::window, fake::dc, nullptr,
         Calls{"ReleaseDC(window, dc)", "DestroyWindow(window)"} + restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
        {"wglMakeCurrent", fake::window, fake::dc, fake::context,
         Calls{"wglMakeCurrent(null, null)", "wglDeleteContext(context)", "ReleaseDC(window, dc)",
               "DestroyWindow(window)"} +
             restoreDisplay + Calls{"ShowCursor(1) -> 0"}},
    };
    for (const PartialSetup& c : cases) {
        SCOPED_TRACE(c.failing);
        fake::reset();
        fake::system().failing = c.failing;
        info = {fake::instance, nullptr, nullptr, nullptr, 1, "ZEMA"};

        EXPECT_EQ(initWindow(&info), 0);
        const Calls& made = fake::system().calls;
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.back().rfind(c.failing, 0), 0u) << "calls went on after the failure: " << made.back();
        EXPECT_EQ(info.hWnd, c.hWnd);
        EXPECT_EQ(info.hDC, c.hDC);
        EXPECT_EQ(info.hRC, c.hRC);

        fake::system().calls.clear();
        closeWindow(&info);
        EXPECT_EQ(fake::system().calls, c.teardown);
    }
}

TEST_F(TeardownTest, FullTeardownRunsInReverseOrderAndShowsThePointerUntilCounted)
{
    ASSERT_EQ(initWindow(&info), 1);
    // Someone else hid the pointer twice more in the meantime.
    fake::system().cursorCount = -3;
    fake::system().calls.clear();

    closeWindow(&info);

    EXPECT_EQ(fake::system().calls,
              (Calls{"wglMakeCurrent(null, null)", "wglDeleteContext(context)", "ReleaseDC(window, dc)",
                     "DestroyWindow(window)", "UnregisterClassA(ZEMA, instance)", "ChangeDisplaySettingsA(null, 0)",
                     "ShowCursor(1) -> -2", "ShowCursor(1) -> -1", "ShowCursor(1) -> 0"}));
    // The record is left as it is.
    EXPECT_EQ(info.hWnd, fake::window);
    EXPECT_EQ(info.hDC, fake::dc);
    EXPECT_EQ(info.hRC, fake::context);
}

TEST_F(TeardownTest, WindowedTeardownLeavesDisplayAndPointerAlone)
{
    info.fullscreen = 0;
    ASSERT_EQ(initWindow(&info), 1);
    fake::system().calls.clear();

    closeWindow(&info);

    EXPECT_EQ(fake::system().calls,
              (Calls{"wglMakeCurrent(null, null)", "wglDeleteContext(context)", "ReleaseDC(window, dc)",
                     "DestroyWindow(window)", "UnregisterClassA(ZEMA, instance)"}));
}

} // namespace
