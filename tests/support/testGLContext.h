// A hidden window with a current OpenGL 4.6 compatibility context, made
// through the same Win32 and WGL calls the program uses, for tests that draw.
#pragma once

// Makes a hidden window whose client area is width x height and makes a GL
// context current on it. Returns false, with the reason on standard error,
// when that cannot be done. Calling it again first destroys the previous one.
bool createTestGLContext(int width, int height);
// Releases the context and the window (safe to call when none exists).
void destroyTestGLContext();
