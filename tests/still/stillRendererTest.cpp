// The still renderer inside a test process, beside the program's own present
// pass: tiling must not change a single value, and the PNG conversion done on
// the CPU must show what the present pass shows.
#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "testGLContext.h"
#include "tools/still/stillRenderer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int width = 48;
constexpr int height = 40;

still::RenderOutcome renderQuietly(still::StillRenderer& renderer, std::int64_t first, std::int64_t samples,
                                   double tileSeconds)
{
    still::ProgressReporter quiet(still::ProgressStyle::quiet, stderr, samples, 600.0, first);
    still::RenderRequest request{first, samples, 600.0, tileSeconds};
    return renderer.render(request, quiet);
}

TEST(StillRenderer, TilesChangeNothingAndThePictureIsThePresentPass)
{
    ASSERT_TRUE(createTestGLContext(width, height));
    still::StillRenderer renderer(width, height, true);

    // The thinnest tiles (after the first, 16 rows: 16 + 16 + 8) against
    // tiles as large as the pace allows.
    const auto rowByRow = renderQuietly(renderer, 1, 3, 1e-9);
    const auto whole = renderQuietly(renderer, 1, 3, 10.0);
    EXPECT_EQ(renderState.sampleCount, 3.0f);
    EXPECT_EQ(whole.sum.sampleCount, 3);
    EXPECT_EQ(whole.sum.lastSample, 3);
    ASSERT_EQ(whole.sum.rgb.size(), static_cast<std::size_t>(width) * height * 3);
    ASSERT_EQ(rowByRow.sum.rgb.size(), whole.sum.rgb.size());
    EXPECT_EQ(std::memcmp(rowByRow.sum.rgb.data(), whole.sum.rgb.data(), whole.sum.rgb.size() * sizeof(float)), 0);

    // Every row was drawn: none is left at zero.
    for (int y = 0; y < height; ++y) {
        const float* row = whole.sum.rgb.data() + static_cast<std::size_t>(y) * width * 3;
        EXPECT_TRUE(std::any_of(row, row + width * 3, [](float v) { return v > 0.0f; })) << "row " << y;
    }

    // The present pass divides by u.z, the count of the last frame: with the
    // first sample at 1 that is the number of samples summed.
    presentPass();
    glFinish();
    std::vector<std::uint8_t> shown(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
    const auto bytes = still::displayBytes(whole.sum);
    int differ = 0;
    int differFlipped = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                // The window's row 0 is the bottom; the file's row 0 the top.
                const int window = shown[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4 + c];
                const int flipped = shown[(static_cast<std::size_t>(y) * width + x) * 4 + c];
                const int file = bytes[(static_cast<std::size_t>(y) * width + x) * 3 + c];
                differ += std::abs(window - file) > 1;
                differFlipped += std::abs(flipped - file) > 1;
            }
        }
    }
    EXPECT_EQ(differ, 0);
    // The picture is not symmetric top to bottom, so the row order was tested.
    EXPECT_GT(differFlipped, width * height / 4);
    destroyTestGLContext();
}

} // namespace
