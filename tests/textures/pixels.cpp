#include "pixels.h"

#include <cstddef>

const std::uint8_t* pixelOf(const void* bits, int x, int y)
{
    const std::size_t row = static_cast<std::size_t>(textureSide - 1 - y); // bottom row first in memory
    return static_cast<const std::uint8_t*>(bits) + (row * textureSide + static_cast<std::size_t>(x)) * 4;
}

Bytes bytesAt(const void* bits, int x, int y)
{
    const std::uint8_t* p = pixelOf(bits, x, y);
    return {p[0], p[1], p[2]};
}
