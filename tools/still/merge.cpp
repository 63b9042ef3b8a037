#include "tools/still/merge.h"

#include "tools/still/errors.h"

#include <algorithm>
#include <string>
#include <vector>

namespace still {
namespace {

std::string rangeOf(const SumImage& image)
{
    return std::to_string(image.firstSample) + "-" + std::to_string(image.lastSample);
}

std::string sizeOf(const SumImage& image)
{
    return std::to_string(image.width) + "x" + std::to_string(image.height);
}

} // namespace

SumImage mergeSums(std::span<const NamedSum> inputs)
{
    if (inputs.empty()) {
        throw StillError("nothing to merge");
    }
    const NamedSum& first = inputs.front();
    for (const NamedSum& input : inputs.subspan(1)) {
        if (input.image.width != first.image.width || input.image.height != first.image.height) {
            throw StillError("cannot merge " + first.file.string() + " (" + sizeOf(first.image) + ") with " +
                             input.file.string() + " (" + sizeOf(input.image) + "): the sizes differ");
        }
    }

    // Sorted by first sample, two ranges overlap exactly when some range
    // starts before the end of the one sorted before it.
    std::vector<const NamedSum*> order;
    for (const NamedSum& input : inputs) {
        order.push_back(&input);
    }
    std::sort(order.begin(), order.end(),
              [](const NamedSum* a, const NamedSum* b) { return a->image.firstSample < b->image.firstSample; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        const NamedSum& before = *order[i - 1];
        const NamedSum& after = *order[i];
        if (after.image.firstSample <= before.image.lastSample) {
            throw StillError("cannot merge " + before.file.string() + " (samples " + rangeOf(before.image) +
                             ") with " + after.file.string() + " (samples " + rangeOf(after.image) +
                             "): the sample ranges overlap");
        }
    }

    SumImage merged = first.image;
    merged.firstSample = order.front()->image.firstSample;
    merged.lastSample = order.back()->image.lastSample;
    for (const NamedSum& input : inputs.subspan(1)) {
        merged.sampleCount += input.image.sampleCount;
        std::transform(merged.rgb.begin(), merged.rgb.end(), input.image.rgb.begin(), merged.rgb.begin(),
                       [](float a, float b) { return a + b; });
    }
    return merged;
}

} // namespace still
