// Drives the program's frame pipeline to render a still: the accumulate pass
// in scissored tiles, no present pass, the sum read back at the end.
#pragma once

#include "tools/still/progress.h"
#include "tools/still/sumImage.h"

#include <cstdint>
#include <filesystem>

namespace still {

struct RenderRequest {
    std::int64_t firstSample = 1;
    std::int64_t samples = 1;
    double seconds = 1.0;
    // Tiles are sized to take about this long; no single draw should run long
    // (desktop drivers reset a GPU whose draw takes more than about two seconds).
    double tileSeconds = 0.1;
};

struct RenderOutcome {
    SumImage sum;
    double seconds = 0.0; // spent rendering, from the first tile to the last
};

// Needs a current GL context for its whole life.
class StillRenderer {
public:
    // Builds the pipeline's resources for width x height and checks that both
    // programs built and that the float buffer can be drawn into. Throws
    // StillError otherwise. quiet: keep the shader build lines off stdout.
    StillRenderer(int width, int height, bool quiet);

    // Writes label.png and lettering.png into folder, as the shaders see them.
    void dumpTextures(const std::filesystem::path& folder) const;

    // Starts from empty buffers, so it may be called again.
    RenderOutcome render(const RenderRequest& request, ProgressReporter& progress);

private:
    void warmUp() const;

    int width_;
    int height_;
};

} // namespace still
