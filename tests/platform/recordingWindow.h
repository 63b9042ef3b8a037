// A window whose procedure records every message it receives, for tests of
// what the layer sends and posts.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

// What the procedure does with a message: by default it records it and
// passes it to DefWindowProcA. A handler may answer instead (return true and
// set the result).
using MessageHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

class RecordingWindow {
public:
    explicit RecordingWindow(DWORD style = WS_POPUP, int width = 64, int height = 48);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle() const { return window_; }
    // Messages received so far, in order. The layer's periodic screen-saver
    // questions (WM_SYSCOMMAND SC_SCREENSAVE / SC_MONITORPOWER) go to the
    // handler but are not recorded.
    const std::vector<Received>& received() const { return received_; }
    std::vector<UINT> messages() const;
    void clear() { received_.clear(); }
    void setHandler(MessageHandler handler) { handler_ = std::move(handler); }
    // Marks the window as gone (after the test destroyed it).
    void forget() { window_ = nullptr; }

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    std::vector<Received> received_;
    MessageHandler handler_;
};

// Takes every pending message off the queue; with `dispatch`, translates and
// dispatches each as a program's pump does. Returns what it took.
std::vector<MSG> pumpMessages(bool dispatch = true);
// Empties the queue and any pending WM_QUIT without dispatching.
void drainQueue();
