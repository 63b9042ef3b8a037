// Adding sums rendered in separate runs into one.
#pragma once

#include "tools/still/sumImage.h"

#include <filesystem>
#include <span>

namespace still {

struct NamedSum {
    std::filesystem::path file;
    SumImage image;
};

// Adds the sums and the sample counts. Throws StillError naming the files when
// their sizes differ or their sample ranges overlap.
SumImage mergeSums(std::span<const NamedSum> inputs);

} // namespace still
