// Reading the painters' 1024 x 1024 bottom-up bitmaps in drawing coordinates.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int textureSide = 1024;

using Bytes = std::array<std::uint8_t, 3>; // first, second, third byte of a pixel

// The pixel at (x, y), y counted down from the top of the picture.
const std::uint8_t* pixelOf(const void* bits, int x, int y);
Bytes bytesAt(const void* bits, int x, int y);
