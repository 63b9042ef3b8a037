// A small PNG encoder: 8-bit RGB, stored (uncompressed) deflate blocks, so it
// needs no zlib and builds wherever the tool does.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace still {

// rgb: width * height pixels of red, green, blue, the top row first.
std::vector<std::uint8_t> encodePng(int width, int height, std::span<const std::uint8_t> rgb);

} // namespace still
