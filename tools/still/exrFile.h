// Our OpenEXR files: single-part, scanline, uncompressed, channels R, G, B as
// 32-bit floats, with the range and count of the samples summed as attributes.
#pragma once

#include "tools/still/sumImage.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace still {

// The attributes that mark a file as a sum of ours.
inline constexpr std::string_view sampleRangeAttribute = "rezuroSampleRange"; // v2i: first, last
inline constexpr std::string_view sampleCountAttribute = "rezuroSampleCount"; // int

std::vector<std::uint8_t> encodeExr(const SumImage& image);

// Reads a file that encodeExr could have written (any attribute order, other
// attributes ignored). Throws StillError saying why the bytes are not one.
SumImage decodeExr(std::span<const std::uint8_t> bytes);

} // namespace still
