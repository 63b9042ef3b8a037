// SDL input and window events as Windows messages, the default handling of
// Alt+F4 and close requests, termination signals, and the screen saver rule.
#include "recordingWindow.h"
#include "window_registry.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace {

void pushKey(SDL_Keycode key, Uint16 modifiers, bool down = true, Uint32 windowId = 0)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = modifiers;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushWindowEvent(HWND window, Uint8 kind, int data1 = 0, int data2 = 0)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window->sdlWindow);
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(window.handle(), nullptr);
        drainQueue();
        window.clear();
    }
    RecordingWindow window{WS_POPUP | WS_VISIBLE};
};

TEST_F(Input, KeysBecomeVirtualKeyMessagesAndCharacters)
{
    struct Case {
        SDL_Keycode key;
        Uint16 modifiers;
        UINT message;
        WPARAM virtualKey;
        std::optional<std::pair<UINT, WPARAM>> character; // what TranslateMessage adds
    };
    const Case cases[] = {
        {SDLK_ESCAPE, KMOD_NONE, WM_KEYDOWN, VK_ESCAPE, {{WM_CHAR, 27}}},
        {SDLK_a, KMOD_NONE, WM_KEYDOWN, 'A', {{WM_CHAR, 'a'}}},
        {SDLK_a, KMOD_LSHIFT, WM_KEYDOWN, 'A', {{WM_CHAR, 'A'}}},
        {SDLK_a, KMOD_CAPS | KMOD_LSHIFT, WM_KEYDOWN, 'A', {{WM_CHAR, 'a'}}},
        {SDLK_c, KMOD_LCTRL, WM_KEYDOWN, 'C', {{WM_CHAR, 3}}},
        {SDLK_7, KMOD_NONE, WM_KEYDOWN, '7', {{WM_CHAR, '7'}}},
        {SDLK_7, KMOD_RSHIFT, WM_KEYDOWN, '7', {{WM_CHAR, '&'}}},
        {SDLK_RETURN, KMOD_NONE, WM_KEYDOWN, VK_RETURN, {{WM_CHAR, 13}}},
        {SDLK_SPACE, KMOD_NONE, WM_KEYDOWN, VK_SPACE, {{WM_CHAR, ' '}}},
        {SDLK_SLASH, KMOD_LSHIFT, WM_KEYDOWN, VK_OEM_2, {{WM_CHAR, '?'}}},
        {SDLK_LEFT, KMOD_NONE, WM_KEYDOWN, VK_LEFT, std::nullopt},
        {SDLK_F1, KMOD_NONE, WM_KEYDOWN, VK_F1, std::nullopt},
        {SDLK_F10, KMOD_NONE, WM_SYSKEYDOWN, VK_F10, std::nullopt},
        {SDLK_F12, KMOD_NONE, WM_KEYDOWN, VK_F12, std::nullopt},
        {SDLK_LSHIFT, KMOD_LSHIFT, WM_KEYDOWN, VK_SHIFT, std::nullopt},
        {SDLK_RCTRL, KMOD_RCTRL, WM_KEYDOWN, VK_CONTROL, std::nullopt},
        {SDLK_LALT, KMOD_LALT, WM_SYSKEYDOWN, VK_MENU, std::nullopt},
        {SDLK_x, KMOD_LALT, WM_SYSKEYDOWN, 'X', {{WM_SYSCHAR, 'x'}}},
        {SDLK_F4, KMOD_LALT, WM_SYSKEYDOWN, VK_F4, std::nullopt},
        {SDLK_KP_5, KMOD_NUM, WM_KEYDOWN, VK_NUMPAD0 + 5, {{WM_CHAR, '5'}}},
    };
    // Alt+F4 is the close request; let the key reach DefWindowProcA but keep
    // the window, so that every case runs against it.
    window.setHandler([](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return message == WM_SYSKEYDOWN;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.key));
        pushKey(c.key, c.modifiers);
        MSG key;
        ASSERT_TRUE(PeekMessageA(&key, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(key.hwnd, window.handle()) << "keys go to the window with the keyboard";
        EXPECT_EQ(key.message, c.message);
        EXPECT_EQ(key.wParam, c.virtualKey);
        EXPECT_EQ((key.lParam >> 29) & 1, (c.modifiers & KMOD_ALT) ? 1 : 0) << "the Alt context bit";
        EXPECT_TRUE(TranslateMessage(&key));
        const std::vector<MSG> after = pumpMessages(false);
        if (c.character) {
            ASSERT_EQ(after.size(), 1u);
            EXPECT_EQ(after[0].message, c.character->first);
            EXPECT_EQ(after[0].wParam, c.character->second);
            EXPECT_EQ(after[0].hwnd, window.handle());
        } else {
            EXPECT_TRUE(after.empty());
        }
    }
}

TEST_F(Input, KeyReleaseSetsTheTransitionBits)
{
    pushKey(SDLK_ESCAPE, KMOD_NONE, false);
    pushKey(SDLK_F4, KMOD_LALT, false);
    const std::vector<MSG> taken = pumpMessages(false);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_SYSKEYUP));
    for (const MSG& m : taken)
        EXPECT_EQ((static_cast<std::uint64_t>(m.lParam) >> 30) & 3, 3u);
}

TEST_F(Input, EscapeGivesKeyDownThenCharacterBeforeLaterInput)
{
    pushKey(SDLK_ESCAPE, KMOD_NONE);
    pushKey(SDLK_b, KMOD_NONE);
    pumpMessages(true);
    std::vector<Received> keys;
    for (const Received& r : window.received())
        if (r.message == WM_KEYDOWN || r.message == WM_CHAR)
            keys.push_back({r.message, r.wParam, 0});
    const std::vector<Received> expected{
        {WM_KEYDOWN, VK_ESCAPE, 0}, {WM_CHAR, 27, 0}, {WM_KEYDOWN, 'B', 0}, {WM_CHAR, 'b', 0}};
    EXPECT_EQ(keys, expected);
}

TEST_F(Input, AltF4BecomesSysCommandCloseThenClose)
{
    // Like the program: WM_CLOSE is answered without destroying the window.
    window.setHandler([](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return message == WM_CLOSE;
    });
    pushKey(SDLK_F4, KMOD_LALT);
    pumpMessages(true);
    const std::vector<Received> expected{
        {WM_SYSKEYDOWN, VK_F4, 1 | (LPARAM{1} << 29)}, {WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_CLOSE, 0, 0}};
    EXPECT_EQ(window.received(), expected);

    // F4 without Alt closes nothing.
    window.clear();
    pushKey(SDLK_F4, KMOD_NONE);
    pumpMessages(true);
    EXPECT_EQ(window.messages(), std::vector<UINT>{WM_KEYDOWN});
}

TEST_F(Input, CloseRequestAndNewSizeArriveAsMessages)
{
    window.setHandler([](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return message == WM_CLOSE;
    });
    pushWindowEvent(window.handle(), SDL_WINDOWEVENT_SIZE_CHANGED, 640, 360);
    pushWindowEvent(window.handle(), SDL_WINDOWEVENT_SIZE_CHANGED, 640, 360); // no change: no message
    pushWindowEvent(window.handle(), SDL_WINDOWEVENT_CLOSE);
    const std::vector<MSG> taken = pumpMessages(true);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(640, 360));
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(taken[1].hwnd, window.handle());
}

TEST_F(Input, TerminationSignalsCloseTheWindow)
{
    window.setHandler([](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return message == WM_CLOSE;
    });
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        window.clear();
        ASSERT_EQ(std::raise(signal), 0);
        pumpMessages(true);
        EXPECT_EQ(window.messages(), std::vector<UINT>{WM_CLOSE});
    }
}

TEST(TerminationSignals, DefaultHandlingReturnsWithTheLastVisibleWindow)
{
    {
        RecordingWindow hidden; // a hidden window (a tool's) leaves signals alone
        struct sigaction current{};
        sigaction(SIGTERM, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
        {
            RecordingWindow shown(WS_POPUP | WS_VISIBLE);
            sigaction(SIGTERM, nullptr, &current);
            EXPECT_NE(current.sa_handler, SIG_DFL);
        }
        sigaction(SIGTERM, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }
}

TEST(ScreenSaver, HeldOffExactlyWhileTheProcedureSwallowsTheCommand)
{
    struct Case {
        bool swallowScreenSave;
        bool swallowMonitorPower;
        bool held;
    };
    const Case cases[] = {{true, true, true}, {true, false, true}, {false, true, true}, {false, false, false}};
    for (const Case& c : cases) {
        RecordingWindow window(WS_POPUP | WS_VISIBLE);
        int asked = 0;
        window.setHandler([&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
            if (message != WM_SYSCOMMAND)
                return false;
            ++asked;
            result = 0;
            return (wParam == SC_SCREENSAVE && c.swallowScreenSave) ||
                   (wParam == SC_MONITORPOWER && c.swallowMonitorPower);
        });
        pumpMessages();
        EXPECT_EQ(asked, 2) << "both commands are asked when a window appears";
        EXPECT_EQ(SDL_IsScreenSaverEnabled() == SDL_FALSE, c.held);
    }
    // With the window gone, nothing holds the screen saver off.
    EXPECT_EQ(SDL_IsScreenSaverEnabled(), SDL_TRUE);
}

} // namespace
