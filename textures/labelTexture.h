// The painted label of the tin.
#pragma once

#include <windows.h>

// Bitmap description shared by both painters.
extern BITMAPINFO bitmapInfo;

// Paints the 1024 x 1024 label and returns its pixels (blue, green, red, fourth
// byte; rows bottom-up), valid until the process ends.
void* paintLabelTexture();
