// A rendered result: per pixel the sum of a run of samples, and which samples.
#pragma once

#include <cstdint>
#include <vector>

namespace still {

struct SumImage {
    int width = 0;
    int height = 0;
    // The samples summed are numbered firstSample..lastSample. A merge of runs
    // that leave a gap holds fewer than that, so the count is kept apart.
    std::int64_t firstSample = 0;
    std::int64_t lastSample = 0;
    std::int64_t sampleCount = 0;
    // Red, green, blue per pixel, the top row of the picture first.
    std::vector<float> rgb;
};

// The picture as the present pass shows it: sum / count, raised to 1/2.2,
// clamped to 0..1, rounded to 8 bits; red, green, blue, top row first.
std::vector<std::uint8_t> displayBytes(const SumImage& image);

} // namespace still
