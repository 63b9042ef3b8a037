// Hooks for tests of code that runs on our platform layer. Not part of Win32,
// and not for the program itself.
#pragma once

#include <windows.h>

// wglGetProcAddress answers null for this name from now on, as a driver that
// lacks the function would.
void platformHideProcAddress(const char* name);
void platformClearHiddenProcAddresses();

// GetTickCount reads `value` now and counts on from there (wrapping at 2^32).
void platformSetTickCount(DWORD value);
// GetTickCount follows the system's clock again.
void platformResetTickCount();
