// The painted label of the tin.
#pragma once

#include <windows.h>

// Bitmap description shared by both painters.
extern BITMAPINFO bitmapInfo;

// The drawing surface of both painters: writes the bitmap description, makes
// a memory DC compatible with the screen's, a 1024 x 1024 32-bit DIB section
// and selects it. *bits receives the pixels, or null when the bitmap could not
// be made (nothing is selected then).
HDC createPaintSurface(void** bits);

// Paints the 1024 x 1024 label and returns its pixels (blue, green, red, fourth
// byte; rows bottom-up), valid until the process ends.
void* paintLabelTexture();
