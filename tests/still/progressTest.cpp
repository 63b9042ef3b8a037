#include "tools/still/progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using still::ProgressFigures;

TEST(StillProgress, TimeLeftFollowsWhicheverLimitComesFirst)
{
    struct Case {
        const char* what;
        ProgressFigures figures;
        double left;
        double fraction;
    };
    const Case cases[] = {
        {"samples first", {2.0, 10, 4.0, 30.0}, 16.0, 0.2},
        {"time first", {2.0, 100, 4.0, 10.0}, 6.0, 0.4},
        // Past the time limit the sample in progress still finishes.
        {"finishing the last sample", {2.5, 100, 10.0, 10.0}, 2.0, 1.0},
        {"nothing done yet", {0.0, 10, 0.0, 30.0}, -1.0, 0.0},
        {"done", {10.0, 10, 5.0, 30.0}, 0.0, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(c.figures.secondsLeft(), c.left, 1e-9);
        EXPECT_NEAR(c.figures.fraction(), c.fraction, 1e-9);
    }
}

TEST(StillProgress, Texts)
{
    EXPECT_EQ(still::formatDuration(0.0), "00:00");
    EXPECT_EQ(still::formatDuration(59.2), "01:00");
    EXPECT_EQ(still::formatDuration(754.0), "12:34");
    EXPECT_EQ(still::formatDuration(3600.0), "1:00:00");

    const ProgressFigures figures{3.0, 10, 6.0, 30.0};
    for (const int columns : {20, 60, 80, 200}) {
        const std::string bar = still::formatBar(figures, columns);
        EXPECT_LT(static_cast<int>(bar.size()), std::max(columns, 60)) << bar;
        EXPECT_NE(bar.find("3/10 samples"), std::string::npos) << bar;
        EXPECT_NE(bar.find("0.5 samples/s"), std::string::npos) << bar;
        EXPECT_NE(bar.find("00:14 left"), std::string::npos) << bar;
    }
    // 3 of 10 samples weighs more than 6 of 30 seconds: 30% of the bar.
    const std::string bar = still::formatBar(figures, 80);
    const auto width = static_cast<std::ptrdiff_t>(bar.find(']')) - 1;
    ASSERT_GT(width, 10);
    EXPECT_EQ(std::count(bar.begin(), bar.end(), '#'), static_cast<std::ptrdiff_t>(0.3 * static_cast<double>(width)));

    EXPECT_EQ(still::formatSampleLine(figures, 5),
              "sample 3/10 (number 7) done after 6.00 s, 0.5 samples/s, 00:14 left");
}

TEST(StillProgress, QuietAndPlainStyles)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        still::ProgressReporter quiet(still::ProgressStyle::quiet, stream, 2, 30.0, 1);
        quiet.partDone(0.5, 1.0);
        quiet.sampleDone(1, 2.0);
    }
    EXPECT_EQ(std::ftell(stream), 0);
    {
        still::ProgressReporter lines(still::ProgressStyle::lines, stream, 2, 30.0, 1);
        lines.partDone(0.5, 1.0);
        lines.sampleDone(1, 2.0);
        lines.sampleDone(2, 4.0);
    }
    std::rewind(stream);
    char text[512] = {};
    const std::size_t length = std::fread(text, 1, sizeof text - 1, stream);
    std::fclose(stream);
    EXPECT_EQ(std::string(text, length),
              "sample 1/2 (number 1) done after 2.00 s, 0.5 samples/s, 00:02 left\n"
              "sample 2/2 (number 2) done after 4.00 s, 0.5 samples/s, 00:00 left\n");
}

} // namespace
