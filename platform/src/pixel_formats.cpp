// Pixel format matching. The list covers the window formats that Mesa and the
// common desktop drivers offer through GLX and EGL; SDL then asks the driver for
// the chosen one when it makes the window's GL surface.
#include "pixel_formats.h"

#include <SDL.h>

#include <array>

namespace platform {
namespace {

constexpr std::array<PixelFormat, 7> formats{{
    {32, 8, 24, 8, true},
    {32, 8, 16, 0, true},
    {32, 8, 0, 0, true},
    {24, 0, 24, 8, true},
    {24, 0, 0, 0, true},
    {32, 8, 24, 8, false},
    {32, 8, 0, 0, false},
}};

// Windows-documented flags that say a property does not matter.
constexpr DWORD doubleBufferDontCare = PFD_DOUBLEBUFFER_DONTCARE;
constexpr DWORD depthDontCare = PFD_DEPTH_DONTCARE;

// Lower is closer. Missing what was asked for costs more than having more
// than was asked for, and the buffering model matters most. A stencil buffer
// nobody asked for costs nothing (drivers pair 24 depth bits with 8 stencil
// bits); among equals the earlier format wins, so the usual request keeps the
// format a window starts with.
long distance(const PixelFormat& format, const PIXELFORMATDESCRIPTOR& request)
{
    long cost = 0;
    const bool wantsDouble = (request.dwFlags & PFD_DOUBLEBUFFER) != 0;
    if (!(request.dwFlags & doubleBufferDontCare) && wantsDouble != format.doubleBuffer)
        cost += 100000;
    auto bits = [&cost](int have, int want, long shortWeight, long overWeight) {
        if (have < want)
            cost += (want - have) * shortWeight;
        else
            cost += (have - want) * overWeight;
    };
    bits(format.colorBits, request.cColorBits, 1000, 10);
    bits(format.alphaBits, request.cAlphaBits, 1000, 10);
    if (!(request.dwFlags & depthDontCare))
        bits(format.depthBits, request.cDepthBits, 100, 1);
    bits(format.stencilBits, request.cStencilBits, 100, 0);
    return cost;
}

} // namespace

std::span<const PixelFormat> pixelFormats() { return formats; }

const PixelFormat* pixelFormat(int index)
{
    if (index < 1 || index > static_cast<int>(formats.size()))
        return nullptr;
    return &formats[static_cast<std::size_t>(index - 1)];
}

int closestPixelFormat(const PIXELFORMATDESCRIPTOR& request)
{
    if (request.iPixelType != PFD_TYPE_RGBA)
        return 0;
    int best = 0;
    long bestCost = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        const long cost = distance(formats[i], request);
        if (best == 0 || cost < bestCost) {
            best = static_cast<int>(i) + 1;
            bestCost = cost;
        }
    }
    return best;
}

void applyPixelFormat(int index)
{
    const PixelFormat* format = pixelFormat(index);
    if (format == nullptr)
        format = pixelFormat(defaultPixelFormat);
    const int channel = format->colorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format->alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format->depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format->stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format->doubleBuffer ? 1 : 0);
}

} // namespace platform
