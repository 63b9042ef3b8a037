// KERNEL32: the module handle and the millisecond tick counter.
#include <windows.h>

#include <platformTesting.h>

#include <chrono>

struct HINSTANCE__ {
    int unused;
};

namespace {
HINSTANCE__ processModule{};
// Added to the clock's reading; tests move it to bring the wrap near.
DWORD tickOffset = 0;

DWORD clockMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
} // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    // Only the process's own module is known by a null name; we load no others.
    return moduleName == nullptr ? &processModule : nullptr;
}

DWORD WINAPI GetTickCount()
{
    // Milliseconds since boot, cut to 32 bits as on Windows, so it wraps after
    // about 49.7 days (unsigned arithmetic wraps the same way).
    return clockMilliseconds() + tickOffset;
}

void platformSetTickCount(DWORD value) { tickOffset = value - clockMilliseconds(); }

void platformResetTickCount() { tickOffset = 0; }
