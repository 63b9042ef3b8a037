// A scripted stand-in for everything the run loop talks to: the window, the
// GPU set-up and frame, the message queue, the tick counter and the swap.
// Each call is logged with how much standard output had been written by then.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class StdoutCapture;

namespace fake {

inline const HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x4004);
inline const HDC dc = reinterpret_cast<HDC>(0x2002);

struct Event {
    std::string call;
    std::size_t outputSoFar;
};

struct World {
    // Adapter description; none makes the adapter query fail.
    std::optional<std::string> adapter = "Fake Adapter 9000";
    int initWindowResult = 1;

    // The tick counter starts just before its wrap and moves only when the
    // stand-ins for the frame and the swap say so.
    DWORD tick = 0xFFFFFFF0;
    DWORD msPerFrame = 25;
    DWORD msPerSwap = 5;

    // Messages waiting in the queue before frame n (1-based) is drawn.
    std::map<int, std::vector<UINT>> messagesBeforeFrame;
    // A run that ignores WM_QUIT would never end; stop it here.
    int frameLimit = 5000;

    int framesRendered = 0;
    std::vector<float> renderArgs;
    std::vector<Event> events;
    const StdoutCapture* capture = nullptr;

    // Calls whose log line starts with prefix, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
};

World& world();

struct Run {
    int exitCode;
    std::string output;
};

// Runs the program's body once in a fresh world, adjusted by script, with its
// standard output captured; the world keeps the record of the run.
Run runProgram(const std::function<void(World&)>& script = {});

} // namespace fake
