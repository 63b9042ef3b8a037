#include "tools/still/sumImage.h"

#include <algorithm>
#include <cmath>

namespace still {

std::vector<std::uint8_t> displayBytes(const SumImage& image)
{
    std::vector<std::uint8_t> bytes(image.rgb.size());
    const float count = static_cast<float>(image.sampleCount);
    std::transform(image.rgb.begin(), image.rgb.end(), bytes.begin(), [count](float sum) {
        const float average = sum / count;
        // A negative or not-a-number average has no power; the colour buffer
        // would show it black.
        if (!(average > 0.0f)) {
            return std::uint8_t{0};
        }
        const float shown = std::min(std::pow(average, 1.0f / 2.2f), 1.0f);
        return static_cast<std::uint8_t>(std::lround(shown * 255.0f));
    });
    return bytes;
}

} // namespace still
