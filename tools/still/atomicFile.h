// Writing a file so that it is either complete or absent: the bytes go to a
// temporary file in the same folder, which is then renamed over the target.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace still {

// Throws StillError naming the file; then neither the target nor the
// temporary file has been left behind (an existing target is kept unchanged).
void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// Fails as writeFileAtomically would if the target's folder cannot take a new
// file, so that a long render is not spent for nothing. Writes nothing.
void checkWritable(const std::filesystem::path& target);

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file);

} // namespace still
