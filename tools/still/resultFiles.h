// Reading and writing the tool's results by file name: .png for the average
// as shown, .exr for the sum that merge can add to.
#pragma once

#include "tools/still/sumImage.h"

#include <filesystem>

namespace still {

// Throws StillError naming the file, with nothing written.
void writeResult(const std::filesystem::path& file, const SumImage& image);

// Throws StillError naming the file when it cannot be read or is not ours.
SumImage readSumFile(const std::filesystem::path& file);

} // namespace still
