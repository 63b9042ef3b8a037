// KERNEL32: the module handle and the millisecond tick counter.
#include <windows.h>

#include <chrono>

struct HINSTANCE__ {
    int unused;
};

namespace {
HINSTANCE__ processModule{};
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    // Only the process's own module is known by a null name; we load no others.
    return moduleName == nullptr ? &processModule : nullptr;
}

DWORD WINAPI GetTickCount()
{
    // Milliseconds since boot, cut to 32 bits as on Windows, so it wraps after
    // about 49.7 days.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
