// A recording stand-in for the Win32, WGL and GL calls of the window code.
// Every call is logged as one readable line; results can be scripted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fake {

// Handles the stand-in hands out, named in the call log.
inline const HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x4004);
inline const HWND window = reinterpret_cast<HWND>(0x1001);
inline const HDC dc = reinterpret_cast<HDC>(0x2002);
inline const HGLRC context = reinterpret_cast<HGLRC>(0x3003);
inline const HBRUSH brush = reinterpret_cast<HBRUSH>(0x5005);
inline constexpr LRESULT defaultResult = 0x5A5A;

struct System {
    std::vector<std::string> calls;

    // Scripted failures: the call of that name reports failure.
    std::string failing;

    // Display state.
    bool modeChanged = false;
    int cursorCount = 0;
    int screenWidth = 1280;
    int screenHeight = 720;
    // Frame that AdjustWindowRect adds around the client area.
    RECT frame = {0, 0, 0, 0};

    // What the calls were handed, for checks beyond the log line.
    std::optional<WNDCLASSA> registeredClass;
    std::optional<DEVMODEA> requestedMode;
    std::optional<PIXELFORMATDESCRIPTOR> chosenFormat;
    std::optional<PIXELFORMATDESCRIPTOR> setFormat;
};

// The one system the stand-in functions act on; reset it in each test.
System& system();
void reset();

// One log line from its pieces.
template <typename... Parts>
std::string text(const Parts&... parts)
{
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

inline std::string hex(std::uint64_t value)
{
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

// "window", "dc", ... for the handles above, "null" for none.
std::string name(const void* handle);

} // namespace fake
