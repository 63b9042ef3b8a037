// Window classes, creation and destruction, and the messages they send.
#include "recordingWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Received> log;

LRESULT CALLBACK loggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    log.push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK refusingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    log.push_back({message, wParam, lParam});
    if (message == WM_CREATE)
        return -1;
    return DefWindowProcA(window, message, wParam, lParam);
}

struct ScopedClass {
    ScopedClass(const char* name, WNDPROC procedure)
        : name(name)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        atom = RegisterClassA(&wc);
    }
    ~ScopedClass() { UnregisterClassA(name, GetModuleHandleA(nullptr)); }
    const char* name;
    ATOM atom;
};

std::vector<UINT> messagesOf(const std::vector<Received>& received)
{
    std::vector<UINT> result;
    for (const Received& r : received)
        result.push_back(r.message);
    return result;
}

TEST(WindowClasses, RegisterOnceAndUnregisterOnlyWithoutWindows)
{
    ScopedClass first("rezuroLifecycleA", loggingProcedure);
    ASSERT_NE(first.atom, 0);
    WNDCLASSA again{};
    again.lpfnWndProc = loggingProcedure;
    again.lpszClassName = "REZUROLIFECYCLEA"; // class names ignore case
    EXPECT_EQ(RegisterClassA(&again), 0);
    again.lpfnWndProc = nullptr;
    again.lpszClassName = "rezuroLifecycleOther";
    EXPECT_EQ(RegisterClassA(&again), 0) << "a class needs a procedure";

    EXPECT_EQ(CreateWindowExA(0, "rezuroNoSuchClass", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    HWND window = CreateWindowExA(0, "rezuroLifecycleA", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("rezuroLifecycleA", nullptr)) << "its window still exists";
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA("rezuroLifecycleA", nullptr));
    EXPECT_FALSE(UnregisterClassA("rezuroLifecycleA", nullptr));
    EXPECT_FALSE(UnregisterClassA("rezuroNeverRegistered", nullptr));
}

TEST(WindowCreation, CreateAndSizeArriveBeforeCreateWindowReturns)
{
    struct Case {
        DWORD style;
        int width;
        int height;
    };
    // A popup's client area is the window; a framed window's client area is
    // what AdjustWindowRect's frame leaves of it.
    const Case cases[] = {
        {WS_POPUP, 320, 200},
        {WS_POPUP | WS_VISIBLE, 1920, 1080},
        {WS_POPUP | WS_OVERLAPPEDWINDOW, 400, 300},
    };
    ScopedClass windowClass("rezuroLifecycleB", loggingProcedure);
    for (const Case& c : cases) {
        log.clear();
        HWND window = CreateWindowExA(0, "rezuroLifecycleB", "t", c.style, 0, 0, c.width, c.height, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        const std::vector<Received> atCreation = log;

        RECT frame{0, 0, 0, 0};
        AdjustWindowRect(&frame, c.style, FALSE);
        const int clientWidth = c.width - (frame.right - frame.left);
        const int clientHeight = c.height - (frame.bottom - frame.top);

        ASSERT_GE(atCreation.size(), 2u);
        EXPECT_EQ(atCreation[0].message, static_cast<UINT>(WM_CREATE));
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(atCreation[0].lParam);
        ASSERT_NE(create, nullptr);
        EXPECT_EQ(atCreation[1], (Received{WM_SIZE, SIZE_RESTORED, MAKELPARAM(clientWidth, clientHeight)}));
        // Nothing of its creation is left in the queue for later.
        EXPECT_TRUE(pumpMessages(false).empty());

        log.clear();
        ASSERT_TRUE(DestroyWindow(window));
        EXPECT_EQ(messagesOf(log), std::vector<UINT>{WM_DESTROY});
        EXPECT_FALSE(DestroyWindow(window)) << "a destroyed window is gone";
        EXPECT_EQ(GetDC(window), nullptr);
    }
}

TEST(WindowCreation, CreateAnsweredWithMinusOneFailsAndDestroysTheWindow)
{
    ScopedClass windowClass("rezuroLifecycleC", refusingProcedure);
    log.clear();
    EXPECT_EQ(CreateWindowExA(0, "rezuroLifecycleC", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(messagesOf(log), (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
    EXPECT_TRUE(UnregisterClassA("rezuroLifecycleC", nullptr)) << "no window of the class may be left";
}

TEST(WindowCreation, CloseThroughTheDefaultProcedureDestroysTheWindow)
{
    RecordingWindow window;
    ASSERT_NE(window.handle(), nullptr);
    window.clear();
    PostMessageA(window.handle(), WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_EQ(window.messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(GetDC(window.handle()), nullptr);
    window.forget();
}

TEST(DeviceContexts, WindowKeepsItsOwnAndTheScreenGetsFreshOnes)
{
    RecordingWindow window;
    HDC own = GetDC(window.handle());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(GetDC(window.handle()), own);
    EXPECT_EQ(ReleaseDC(window.handle(), own), 1);
    EXPECT_EQ(GetDC(window.handle()), own) << "releasing a window's own DC keeps it";

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_NE(screen, own);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0) << "a released screen DC is gone";
    EXPECT_EQ(ReleaseDC(nullptr, nullptr), 0);
}

} // namespace
