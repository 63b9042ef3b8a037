#include <gtest/gtest.h>

#include "fakeWorld.h"
#include "host/config.h"
#include "testText.h"

namespace {

// The same runs in both builds: with the limits reported only, everything
// goes on after the notice; with them enforced, the progress stops there.
struct LimitCase {
    const char* what;
    DWORD msPerFrame;
    int limitFrame;
    std::string fps;
    std::string notice;
};

TEST(LimitsTest, NoticeComesOnceAfterTheFrameThatReachesEitherLimit)
{
    const std::string done = "\n\nDone; close window to quit\n";
    const LimitCase cases[] = {
        // Exactly 30 s at the 40th frame: the frame-rate line comes first.
        {"time limit", 750, 40, "1.333", "\n[LIMIT HIT: 40/512 frames, 30.00/30.00 secs]\n"},
        {"frame limit", 25, 512, "40.000", "\n[LIMIT HIT: 512/512 frames, 12.80/30.00 secs]\n"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.what);
        const fake::Run run = fake::runProgram([&](fake::World& w) {
            w.msPerFrame = c.msPerFrame;
            w.msPerSwap = 0;
            w.messagesBeforeFrame[560] = {WM_QUIT};
        });

        const std::string after = limitsEnforced ? done : progress(c.limitFrame + 1, 560, c.fps);
        const std::string expected = renderingLine + progress(1, c.limitFrame, c.fps) + c.notice + after;
        ASSERT_TRUE(run.output.ends_with(expected)) << run.output.substr(run.output.size() - 200);

        // Drawing calls and swaps go on until the user quits in both builds.
        EXPECT_EQ(fake::world().framesRendered, 560);
        EXPECT_EQ(fake::world().callsStartingWith("SwapBuffers").size(), 560u);
        EXPECT_EQ(run.exitCode, 0);
    }
}

} // namespace
