#include <gtest/gtest.h>

#include "fakeSystem.h"
#include "window/window.h"

using Calls = std::vector<std::string>;

namespace {

struct Message {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    Calls calls;
};

std::string passedOn(UINT message, WPARAM wParam, LPARAM lParam)
{
    return fake::text("DefWindowProcA(window, ", fake::hex(message), ", ", fake::hex(wParam), ", ",
                      fake::hex(static_cast<std::uint64_t>(lParam)), ")");
}

TEST(WindowProcTest, EachMessageGetsItsHandlingAndResult)
{
    const LRESULT passed = fake::defaultResult;
    const Message cases[] = {
        {"screen saver is swallowed", WM_SYSCOMMAND, SC_SCREENSAVE, 0, 0, {}},
        {"monitor power-down is swallowed", WM_SYSCOMMAND, SC_MONITORPOWER, 2, 0, {}},
        {"other system commands pass", WM_SYSCOMMAND, SC_CLOSE, 0, passed, {passedOn(WM_SYSCOMMAND, SC_CLOSE, 0)}},
        {"only the exact screen-saver code is swallowed", WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0, passed,
         {passedOn(WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0)}},
        {"close request quits without destroying", WM_CLOSE, 0, 0, 0, {"PostQuitMessage(0)"}},
        {"destruction quits", WM_DESTROY, 0, 0, 0, {"PostQuitMessage(0)"}},
        {"Esc key quits", WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {"PostQuitMessage(0)"}},
        {"other keys pass", WM_KEYDOWN, VK_SPACE, 0x00390001, passed, {passedOn(WM_KEYDOWN, VK_SPACE, 0x00390001)}},
        {"Esc character quits", WM_CHAR, 27, 0x00010001, 0, {"PostQuitMessage(0)"}},
        {"other characters pass", WM_CHAR, 'q', 0, passed, {passedOn(WM_CHAR, 'q', 0)}},
        {"Alt+F4 goes to the default handling, which asks to close", WM_SYSKEYDOWN, VK_F4, 0x203e0001, passed,
         {passedOn(WM_SYSKEYDOWN, VK_F4, 0x203e0001)}},
        {"resize sets the viewport, then passes", WM_SIZE, SIZE_RESTORED, (1080 << 16) | 1920, passed,
         {"glViewport(0, 0, 1920, 1080)", passedOn(WM_SIZE, SIZE_RESTORED, (1080 << 16) | 1920)}},
        {"resize reads the full 16-bit sizes", WM_SIZE, SIZE_RESTORED, 0xFFFF8000, passed,
         {"glViewport(0, 0, 32768, 65535)", passedOn(WM_SIZE, SIZE_RESTORED, 0xFFFF8000)}},
        {"anything else passes unchanged", WM_CREATE, 0x1234, 0x5678, passed, {passedOn(WM_CREATE, 0x1234, 0x5678)}},
    };
    for (const Message& m : cases) {
        SCOPED_TRACE(m.what);
        fake::reset();
        EXPECT_EQ(windowProc(fake::window, m.message, m.wParam, m.lParam), m.result);
        EXPECT_EQ(fake::system().calls, m.calls);
    }
}

} // namespace
