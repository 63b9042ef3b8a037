// The present shader: its text, and what the present pass shows for a sum.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "gpuTestSupport.h"
#include "shaders/shaderSources.h"

using namespace gputest;

namespace {

TEST(PresentShaderText, IsTwoLinesOf144Characters)
{
    const std::string text = presentShaderSource;
    EXPECT_EQ(text.size(), 144u);
    EXPECT_EQ(text.rfind("#version 460\n", 0), 0u);
    EXPECT_EQ(text.find('\n'), 12u);
    EXPECT_EQ(text.find('\n', 13), std::string::npos) << "one line after the version line";
}

using PresentPass = PipelineTest;

// Each texel holds one average times the count; the window shows the average
// through the gamma 1/2.2, and the window's buffer clamps what lies above 1.
// Texel i lands on window pixel i: the bottom-left pixel reads the first texel.
TEST_F(PresentPass, ShowsTheAverageThroughTheGamma)
{
    ASSERT_TRUE(std::strstr(initReport.c_str(), "OK\n") != nullptr) << initReport;
    const int texels = width * height;
    // Red: fixed cases with the byte they show; green: a ramp from 0 to 1;
    // blue: the ramp reversed.
    struct Case {
        double average;
        int shown;
    };
    const Case cases[] = {{0.0, 0}, {0.5, 186}, {1.0, 255}, {2.5, 255},
                          {0.25, 136}, {0.001, 11}, {0.9, 243}, {1e6, 255}};
    for (float count : {1.0f, 2.0f, 3.0f}) {
        SCOPED_TRACE("count " + std::to_string(count));
        std::vector<double> averages(static_cast<size_t>(texels) * 3);
        std::vector<float> sums(static_cast<size_t>(texels) * 4, 0.0f);
        for (int i = 0; i < texels; i++) {
            averages[i * 3 + 0] = cases[i % 8].average;
            averages[i * 3 + 1] = i / double(texels - 1);
            averages[i * 3 + 2] = 1.0 - i / double(texels - 1);
            for (int ch = 0; ch < 3; ch++)
                sums[i * 4 + ch] = static_cast<float>(averages[i * 3 + ch] * count);
            sums[i * 4 + 3] = count;
        }
        // The buffer the last accumulate pass wrote.
        writeFloatTexture(renderState.textures[1 - renderState.pingIndex], sums);
        renderState.sampleCount = count;

        presentPass();
        const std::vector<unsigned char> window = readWindow();
        for (int i = 0; i < texels; i++) {
            ASSERT_NEAR(window[i * 4], cases[i % 8].shown, 1) << "pixel " << i;
            for (int ch = 1; ch < 3; ch++)
                ASSERT_NEAR(window[i * 4 + ch], shownByte(averages[i * 3 + ch]), 1)
                    << "pixel " << i << " channel " << ch;
        }
    }
}

} // namespace
