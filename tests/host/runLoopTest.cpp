#include <gtest/gtest.h>

#include "fakeWorld.h"
#include "testText.h"

namespace {

using Calls = std::vector<std::string>;

std::vector<std::string> callsAfterStartUp()
{
    std::vector<std::string> calls;
    for (const fake::Event& e : fake::world().events)
        if (!e.call.starts_with("GetModuleHandleA") && !e.call.starts_with("EnumDisplayDevicesA"))
            calls.push_back(e.call);
    return calls;
}

const fake::Event& firstEvent(const std::string& call)
{
    for (const fake::Event& e : fake::world().events)
        if (e.call == call)
            return e;
    throw std::runtime_error("no call " + call);
}

TEST(RunLoopTest, PumpsBeforeEachFrameAndDrawsExactlyOneMoreFrameAfterQuit)
{
    const fake::Run run = fake::runProgram([](fake::World& w) {
        w.messagesBeforeFrame[1] = {WM_KEYDOWN, WM_CHAR};
        w.messagesBeforeFrame[3] = {WM_QUIT};
    });

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(callsAfterStartUp(),
              (Calls{"initWindow(windowInfo, fullscreen=1, instance)", "initResources", "TranslateMessage(100)",
                     "DispatchMessageA(100)", "TranslateMessage(102)", "DispatchMessageA(102)", "renderFrame",
                     "SwapBuffers(dc)", "renderFrame", "SwapBuffers(dc)", "TranslateMessage(12)",
                     "DispatchMessageA(12)", "renderFrame", "SwapBuffers(dc)", "closeWindow(windowInfo)"}));

    const std::size_t reportEnd = run.output.find(compilingLine);
    ASSERT_NE(reportEnd, std::string::npos);
    EXPECT_EQ(run.output.substr(reportEnd), compilingLine + renderingLine + "...");
    EXPECT_EQ(firstEvent("initResources").outputSoFar, reportEnd + compilingLine.size());
    // The last frame's dot is out before the window goes.
    EXPECT_EQ(firstEvent("closeWindow(windowInfo)").outputSoFar, run.output.size());
}

TEST(RunLoopTest, FrameGetsTheSecondsMeasuredAfterThePreviousOneAcrossTheTickWrap)
{
    // The tick counter wraps during the first frame.
    fake::runProgram([](fake::World& w) { w.messagesBeforeFrame[4] = {WM_QUIT}; });

    EXPECT_EQ(fake::world().renderArgs, (std::vector<float>{0.0f, 25 / 1000.0f, 55 / 1000.0f, 85 / 1000.0f}));
}

TEST(RunLoopTest, EachDotIsVisibleBeforeTheNextFrameIsSwapped)
{
    const fake::Run run = fake::runProgram([](fake::World& w) { w.messagesBeforeFrame[5] = {WM_QUIT}; });

    const std::size_t loopStart = run.output.size() - 5;
    std::vector<std::size_t> seenAtSwap;
    for (const fake::Event& e : fake::world().events)
        if (e.call == "SwapBuffers(dc)")
            seenAtSwap.push_back(e.outputSoFar - loopStart);
    EXPECT_EQ(seenAtSwap, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

TEST(RunLoopTest, FortiethDotIsFollowedByTheFrameRateFromAFreshClockReading)
{
    // 25 ms to draw and 5 ms to swap: forty frames take 1.2 s by the time the
    // line is printed (1.195 s when the 40th frame's own time was taken).
    const fake::Run run = fake::runProgram([](fake::World& w) { w.messagesBeforeFrame[41] = {WM_QUIT}; });

    EXPECT_TRUE(run.output.ends_with(renderingLine + progress(1, 40, "33.333") + "."))
        << run.output.substr(run.output.size() - 60);
}

} // namespace
