// A memory device context with a small DIB section selected, and ways to read
// its pixels back in drawing coordinates.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>

using Bgr = std::array<std::uint8_t, 3>; // bytes in memory order: blue, green, red

class Canvas {
public:
    // A positive height gives bottom-up rows, a negative one top-down rows.
    Canvas(int width, int height);

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* bits() const { return bits_; }

    // The pixel at (x, y), y counted from the top of the picture.
    Bgr at(int x, int y) const;
    void fill(COLORREF color);
    // How many pixels of the rectangle [x0, x1) x [y0, y1) satisfy the predicate.
    int count(int x0, int y0, int x1, int y1, const std::function<bool(Bgr)>& predicate) const;

private:
    HDC dc_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    std::uint8_t* bits_ = nullptr;
};

// The bytes a COLORREF ends up as in memory.
Bgr bytesOf(COLORREF color);
// Whether every channel of c lies between those of a and b.
bool between(Bgr a, Bgr b, Bgr c);
