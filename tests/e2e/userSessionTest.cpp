#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <regex>

#include "pointerProbe.h"
#include "process.h"
#include "xserver.h"

namespace {

using Env = std::map<std::string, std::optional<std::string>>;

// One 1920 x 1080 frame takes about a minute on a two-core machine with
// Mesa's software rasteriser, longer when the machine is busy.
constexpr auto startUpTimeout = 180s;
constexpr auto frameTimeout = 300s;

const std::string reportPattern = R"((?:[ -~]{1,30}\n){6}\n)"
                                  R"(-=\{ rezuro basecode v 2024-06-01 \}=-\n)"
                                  R"(-=\{          Vosk / DoLB         \}=-\n\n)"
                                  R"(     What's inside: [ -~]+\n)"
                                  R"( Render resolution: 1920 x 1080\n)"
                                  R"(  Max precalc time: 30\.00 secs\n)"
                                  R"(        Max frames: 512\n)"
                                  R"(            Limits: NOT enforced\n)";
const std::string renderingLine = "\nRendering (Close this window or Esc on render window to abort)\n\n";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Checks the whole transcript of a run that drew from fewest to most frames;
// empty when it is right, else what is wrong. A software-rendered frame takes
// longer than the 30 s limit, so the limit notice comes after the first or
// the second dot, depending on when the driver does the work.
std::string transcriptFault(const std::string& out, int fewest, int most)
{
    // Each program gets an OK line or its compile log (Mesa warns about the
    // path tracer's globals when its shader cache is cold); a log with an
    // error means a broken shader.
    if (has(out, "error"))
        return "a shader compile log reports an error";
    const std::regex whole(reportPattern +
                           R"(\nCompiling shaders\.\.\.\n)"
                           R"((?:Shader prog [0-9]+: OK\n|SHADER COMPILE LOG \(Prog [0-9]+\):\n(?:[^\n]+\n)+\n){2})"
                           R"(\nRendering \(Close this window or Esc on render window to abort\)\n\n)"
                           R"((\.*)(\n\[LIMIT HIT: ([0-9]+)/512 frames, ([0-9]+\.[0-9]{2})/30\.00 secs\]\n)?(\.*))");
    std::smatch m;
    if (!std::regex_match(out, m, whole))
        return "the transcript does not have the expected form";
    const int before = static_cast<int>(m[1].length());
    const int after = static_cast<int>(m[5].length());
    if (before + after < fewest || before + after > most)
        return "expected " + std::to_string(fewest) + " to " + std::to_string(most) + " dots, got " +
               std::to_string(before + after);
    if (m[2].matched) {
        if (std::stoi(m[3]) != before)
            return "the limit notice counts " + m[3].str() + " frames after " + std::to_string(before) + " dots";
        if (std::stod(m[4]) < 30.0)
            return "the limit notice came before 30 s: " + m[4].str();
    }
    return "";
}

// Mesa's shader cache is off, so every run compiles as on a fresh machine and
// prints what the driver's compiler says.
Env onDisplay(const XServer& x)
{
    return {{"DISPLAY", x.display()},
            {"WAYLAND_DISPLAY", {}},
            {"SDL_VIDEODRIVER", {}},
            {"MESA_SHADER_CACHE_DISABLE", "true"}};
}

CommandResult x11(const XServer& x, std::vector<std::string> argv) { return runCommand(std::move(argv), onDisplay(x)); }

// The window ids of the windows titled exactly so.
std::string windowsNamed(const XServer& x, const std::string& title)
{
    return x11(x, {"xdotool", "search", "--name", "^" + title + "$"}).out;
}

bool renderingStarted(const std::string& out, const std::string&) { return out.ends_with(renderingLine); }
bool firstFrameShown(const std::string& out, const std::string&) { return has(out, renderingLine + "."); }

class UserSessionTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xwd", "xwininfo", "convert"})
            if (!onPath(tool))
                GTEST_SKIP() << tool << " is not installed; the end-to-end tests need Xvfb, xdotool, x11-apps "
                                        "(xwd, xwininfo) and ImageMagick";
    }

    // Screenshot of the whole screen, kept next to the test for a look, and
    // its mean brightness from 0 to 1.
    double screenshot(const XServer& x, const std::string& name)
    {
        const std::string xwd = name + ".xwd";
        const CommandResult grab = x11(x, {"xwd", "-root", "-silent", "-out", xwd});
        EXPECT_EQ(grab.exitCode, 0) << grab.err;
        runCommand({"convert", xwd, name + ".png"});
        const CommandResult mean = runCommand({"convert", xwd, "-format", "%[fx:mean]", "info:"});
        std::filesystem::remove(xwd);
        return mean.exitCode == 0 ? std::stod(mean.out) : -1.0;
    }

    // Starts the program on x, waits for the window, lets quitAction end the
    // run while the first frame is drawn, and checks what the user sees.
    void runAndQuit(const std::string& name, const std::function<void(const XServer&, Process&)>& quitAction)
    {
        XServer x("1920x1080x24");
        Process program({REZURO_PROGRAM}, onDisplay(x));
        ASSERT_TRUE(program.waitFor(renderingStarted, startUpTimeout)) << program.out() << program.err();

        const std::string windows = windowsNamed(x, "rezuro by Vosk");
        ASSERT_FALSE(windows.empty()) << "no window titled \"rezuro by Vosk\"";
        const CommandResult geometry = x11(x, {"xdotool", "getwindowgeometry", windows.substr(0, windows.find('\n'))});
        EXPECT_TRUE(has(geometry.out, "Position: 0,0") && has(geometry.out, "Geometry: 1920x1080"))
            << geometry.out;
        EXPECT_EQ(pointerVisible(x.display()), false) << "the pointer shows over the render window";

        // The request waits in the queue until the first frame is done; that
        // frame is shown, one more is drawn, and the program ends.
        quitAction(x, program);
        ASSERT_TRUE(program.waitFor(firstFrameShown, frameTimeout)) << program.out() << program.err();
        EXPECT_GT(screenshot(x, "e2e_" + name), 0.01) << "the first frame left the screen black";

        const std::optional<int> exitCode = program.waitExit(frameTimeout);
        ASSERT_TRUE(exitCode) << "still running: " << program.out();
        EXPECT_EQ(*exitCode, 0);
        EXPECT_EQ(transcriptFault(program.out(), 2, 2), "") << program.out();
        EXPECT_EQ(windowsNamed(x, "rezuro by Vosk"), "");
        EXPECT_EQ(pointerVisible(x.display()), true) << "the pointer stays hidden after the run";
    }
};

TEST_F(UserSessionTest, EscEndsTheRunAfterOneMoreFrame)
{
    runAndQuit("esc", [](const XServer& x, Process&) {
        const CommandResult key = x11(x, {"xdotool", "key", "Escape"});
        EXPECT_EQ(key.exitCode, 0) << key.err;
    });
}

TEST_F(UserSessionTest, AltF4EndsTheRunAfterOneMoreFrame)
{
    runAndQuit("altf4", [](const XServer& x, Process&) {
        const CommandResult key = x11(x, {"xdotool", "key", "alt+F4"});
        EXPECT_EQ(key.exitCode, 0) << key.err;
    });
}

TEST_F(UserSessionTest, TerminationSignalEndsTheRunLikeACloseRequest)
{
    runAndQuit("sigterm", [](const XServer&, Process& program) { program.signal(SIGTERM); });
}

TEST_F(UserSessionTest, WithoutAnyDisplayTheProgramRendersHeadless)
{
    Process program({REZURO_PROGRAM}, {{"DISPLAY", {}},
                                      {"WAYLAND_DISPLAY", {}},
                                      {"SDL_VIDEODRIVER", {}},
                                      {"MESA_SHADER_CACHE_DISABLE", "true"}});
    ASSERT_TRUE(program.waitFor(renderingStarted, startUpTimeout)) << program.out() << program.err();
    program.signal(SIGTERM);

    // The signal races the loop. Landing before the first pump, it ends the
    // run after that iteration's frame; offscreen a swap does not wait for the
    // frame's work, so it may also land after the second frame's pump, and
    // then that frame and one more are drawn.
    const std::optional<int> exitCode = program.waitExit(2 * frameTimeout);
    ASSERT_TRUE(exitCode) << "still running: " << program.out();
    EXPECT_EQ(*exitCode, 0);
    EXPECT_EQ(transcriptFault(program.out(), 1, 3), "") << program.out();
}

TEST_F(UserSessionTest, RefusedDisplayModeShowsTheBoxAndExitsZero)
{
    // This screen offers no 1920 x 1080 mode.
    XServer x("1280x720x24");
    Process program({REZURO_PROGRAM}, onDisplay(x));
    const std::string boxText = "Oh dear: Window init error! We're gonna have to abort...\n";
    ASSERT_TRUE(program.waitFor([&](const std::string&, const std::string& err) { return has(err, boxText); },
                                startUpTimeout))
        << program.out() << program.err();

    // Dismiss the box as a user would, with Return. The key is sent to the
    // box itself: with no window manager, focus follows the pointer, which
    // need not be over the box.
    const std::regex boxWindow(R"((0x[0-9a-f]+) "Oh dear")");
    std::optional<int> exitCode;
    bool boxSeen = false;
    for (int attempt = 0; attempt < 30 && !exitCode; ++attempt) {
        const std::string tree = x11(x, {"xwininfo", "-root", "-tree"}).out;
        std::smatch m;
        if (std::regex_search(tree, m, boxWindow)) {
            boxSeen = true;
            x11(x, {"xdotool", "key", "--window", m[1], "Return"});
        }
        exitCode = program.waitExit(1s);
    }
    EXPECT_TRUE(boxSeen) << "no window titled \"Oh dear\" appeared";
    ASSERT_TRUE(exitCode) << "the box was not dismissed";
    EXPECT_EQ(*exitCode, 0);
    // The report, and nothing after it: no shaders are built.
    EXPECT_TRUE(std::regex_match(program.out(), std::regex(reportPattern))) << program.out();
    EXPECT_EQ(program.err(), boxText);
    EXPECT_EQ(windowsNamed(x, "rezuro by Vosk"), "");
}

} // namespace
