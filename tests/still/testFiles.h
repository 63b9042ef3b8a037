// Test helpers: a scratch folder, and PNG and OpenEXR files read and written
// with libpng and OpenEXR, so that our own encoders are checked by code we did
// not write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace stilltest {

// A fresh folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The names of the files in it, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

// Read with libpng; fails the test (and returns an empty picture) on error.
RgbPicture readPngWithLibpng(const std::filesystem::path& file);

struct ExrContents {
    int width = 0;
    int height = 0;
    std::vector<float> rgb; // top row first
    std::optional<std::pair<int, int>> sampleRange;
    std::optional<int> sampleCount;
    std::string compression; // "none", "zip", ...
};

// Read with OpenEXR; throws whatever OpenEXR throws.
ExrContents readExrWithOpenExr(const std::filesystem::path& file);

struct ExrWriteSettings {
    bool zip = false;                // ZIP compression instead of none
    bool half = false;               // HALF channels instead of FLOAT
    bool alpha = false;              // an A channel too
    bool ourAttributes = true;       // the sample range and count
    std::pair<int, int> sampleRange{1, 1};
    int sampleCount = 1;
};

// Writes rgb (top row first) with OpenEXR.
void writeExrWithOpenExr(const std::filesystem::path& file, int width, int height, const std::vector<float>& rgb,
                         const ExrWriteSettings& settings);

} // namespace stilltest
