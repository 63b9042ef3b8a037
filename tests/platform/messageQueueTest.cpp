// The thread's message queue: order of retrieval, WM_QUIT, filters and dispatch.
#include "recordingWindow.h"

#include <gtest/gtest.h>

namespace {

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override { drainQueue(); }
    void TearDown() override { drainQueue(); }
};

constexpr UINT userMessage = 0x0400; // WM_USER

TEST_F(MessageQueue, QuitComesOnceAfterEveryOtherPostedMessage)
{
    RecordingWindow window;
    ASSERT_NE(window.handle(), nullptr);
    drainQueue();

    PostQuitMessage(7);
    PostMessageA(window.handle(), userMessage, 1, 0);
    PostQuitMessage(7); // asked twice, as Esc's key and character both do
    PostMessageA(nullptr, userMessage, 2, 0);

    const std::vector<MSG> taken = pumpMessages(false);
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, userMessage);
    EXPECT_EQ(taken[0].hwnd, window.handle());
    EXPECT_EQ(taken[1].message, userMessage);
    EXPECT_EQ(taken[1].hwnd, nullptr);
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(taken[2].hwnd, nullptr);
    EXPECT_EQ(taken[2].wParam, 7u);

    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "WM_QUIT must be retrieved once";
}

TEST_F(MessageQueue, NoRemoveLeavesTheMessageAndTheQuitInPlace)
{
    PostMessageA(nullptr, userMessage, 5, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);

    PostQuitMessage(0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange)
{
    RecordingWindow a;
    RecordingWindow b;
    drainQueue();
    PostMessageA(a.handle(), userMessage, 1, 0);
    PostMessageA(b.handle(), userMessage + 1, 2, 0);
    PostMessageA(a.handle(), userMessage + 2, 3, 0);
    PostQuitMessage(0);

    MSG msg;
    // A window filter skips the other window's messages and never sees WM_QUIT.
    ASSERT_TRUE(PeekMessageA(&msg, b.handle(), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&msg, b.handle(), 0, 0, PM_REMOVE));
    // A range filter picks the later message first; WM_QUIT still comes last
    // even though it lies outside the range.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, userMessage + 2, userMessage + 2, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, userMessage + 2, userMessage + 2, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
}

TEST_F(MessageQueue, DispatchCallsTheProcedureButNotForQuitOrWindowlessMessages)
{
    RecordingWindow window;
    drainQueue();
    window.clear();

    PostMessageA(window.handle(), userMessage, 11, 22);
    PostMessageA(nullptr, userMessage, 33, 0);
    PostQuitMessage(0);
    const std::vector<MSG> taken = pumpMessages(true);
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken.back().message, static_cast<UINT>(WM_QUIT));
    // Only the message for the window reached a procedure.
    std::vector<Received> expected{{userMessage, 11, 22}};
    EXPECT_EQ(window.received(), expected);

    MSG quit{};
    quit.message = WM_QUIT;
    EXPECT_EQ(DispatchMessageA(&quit), 0);
    EXPECT_EQ(window.received(), expected);
}

TEST_F(MessageQueue, MessagesForADestroyedWindowAreNotDelivered)
{
    RecordingWindow window;
    drainQueue();
    PostMessageA(window.handle(), userMessage, 1, 0);
    const HWND stale = window.handle();
    ASSERT_TRUE(DestroyWindow(stale));
    window.forget();
    window.clear();

    EXPECT_TRUE(pumpMessages(true).empty());
    EXPECT_FALSE(PostMessageA(stale, userMessage, 2, 0));
    MSG msg{};
    msg.hwnd = stale;
    msg.message = userMessage;
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_TRUE(window.received().empty());
}

TEST_F(MessageQueue, TranslateOnlyAcceptsKeyMessages)
{
    MSG msg{};
    msg.message = userMessage;
    EXPECT_FALSE(TranslateMessage(&msg));
    EXPECT_FALSE(TranslateMessage(nullptr));
    msg.message = WM_KEYUP;
    msg.wParam = 'A';
    EXPECT_TRUE(TranslateMessage(&msg));
    // A key release produces no character.
    EXPECT_TRUE(pumpMessages(false).empty());
}

} // namespace
