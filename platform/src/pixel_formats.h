// The pixel formats a window can be given, and the choice of the closest one
// to a PIXELFORMATDESCRIPTOR.
#pragma once

#include <windows.h>

#include <span>

namespace platform {

struct PixelFormat {
    int colorBits;   // red + green + blue + alpha
    int alphaBits;
    int depthBits;
    int stencilBits;
    bool doubleBuffer;
};

// Formats are numbered from 1, as on Windows.
std::span<const PixelFormat> pixelFormats();
// The format a new window's surface is made with until SetPixelFormat says otherwise.
constexpr int defaultPixelFormat = 1;
// The number of the listed format closest to the request, or 0 when the
// request is not for an RGBA OpenGL window format at all.
int closestPixelFormat(const PIXELFORMATDESCRIPTOR& request);
const PixelFormat* pixelFormat(int index);
// Sets SDL's GL attributes so that the next GL surface gets this format.
void applyPixelFormat(int index);

} // namespace platform
