// The command line of rezuro-still.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace still {

// The sample count reaches the shaders as a 32-bit float, which counts exactly
// up to 2^24; past it two samples would share a seed.
constexpr std::int64_t lastDistinctSample = 16777216;
constexpr int largestSide = 16384;

enum class FileKind { png, exr };

struct RenderOptions {
    int width = 1920;
    int height = 1080;
    std::int64_t samples = 0;  // set from the program's limits by the parser
    double seconds = 0.0;      // likewise
    std::int64_t firstSample = 1;
    std::optional<std::filesystem::path> out;
    std::optional<std::filesystem::path> dumpTextures;
    bool quiet = false;
};

struct MergeOptions {
    std::vector<std::filesystem::path> inputs;
    std::filesystem::path out;
    bool quiet = false;
};

enum class Command { render, merge, help };

struct CommandLine {
    Command command = Command::render;
    RenderOptions render;
    MergeOptions merge;
};

// args excludes the program name. Throws UsageError with a one-line reason.
CommandLine parseCommandLine(std::span<const std::string_view> args);

// What --out names, from its extension (case does not matter).
std::optional<FileKind> fileKindOf(const std::filesystem::path& file);

std::string usageText();

} // namespace still
