#include "recordingWindow.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* className = "rezuroRecording";
RecordingWindow* creating = nullptr; // the window whose creation messages are arriving
std::vector<std::pair<HWND, RecordingWindow*>> owners;

RecordingWindow* ownerOf(HWND window)
{
    for (auto& [handle, owner] : owners)
        if (handle == window)
            return owner;
    return creating;
}

} // namespace

RecordingWindow::RecordingWindow(DWORD style, int width, int height)
{
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc); // fails harmlessly when another window registered it already
    creating = this;
    window_ = CreateWindowExA(0, className, "recording", style, 0, 0, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    creating = nullptr;
    if (window_ != nullptr)
        owners.emplace_back(window_, this);
}

RecordingWindow::~RecordingWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    std::erase_if(owners, [this](const auto& o) { return o.second == this; });
    if (owners.empty())
        UnregisterClassA(className, GetModuleHandleA(nullptr));
    drainQueue();
}

std::vector<UINT> RecordingWindow::messages() const
{
    std::vector<UINT> result;
    for (const Received& r : received_)
        result.push_back(r.message);
    return result;
}

LRESULT CALLBACK RecordingWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordingWindow* owner = ownerOf(window);
    const bool screenSaverQuestion =
        message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER);
    if (owner != nullptr) {
        if (!screenSaverQuestion)
            owner->received_.push_back({message, wParam, lParam});
        LRESULT result = 0;
        if (owner->handler_ && owner->handler_(window, message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<MSG> pumpMessages(bool dispatch)
{
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        taken.push_back(msg);
        if (dispatch) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return taken;
}

void drainQueue() { pumpMessages(false); }
