// The rezuro-still program as its users run it, on SDL's offscreen driver.
#include "testFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the program in folder with the given arguments (no quoting needed),
// with the environment's settings before it.
ProgramRun runStill(const stilltest::ScratchFolder& folder, const std::string& args, const std::string& env = "")
{
    const auto out = folder.path() / "stdout.txt";
    const auto err = folder.path() / "stderr.txt";
    const std::string command = "cd '" + folder.path().string() + "' && " + env + " '" REZURO_STILL_PROGRAM "' " +
                                args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = slurp(out);
    run.err = slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// One run of samples 1 to 4 and two runs of 1-2 and 3-4, merged, agree to
// float rounding: the split changes only the order of the additions.
TEST(StillProgram, SplitRunsMergeToTheSingleRun)
{
    stilltest::ScratchFolder folder;
    const std::string size = "--size 64x36 --seconds 600 --quiet ";
    ASSERT_EQ(runStill(folder, size + "--samples 4 --out whole.exr").status, 0);
    ASSERT_EQ(runStill(folder, size + "--samples 2 --out first.exr").status, 0);
    ASSERT_EQ(runStill(folder, size + "--samples 2 --first-sample 3 --out second.exr").status, 0);
    const ProgramRun merge = runStill(folder, "merge second.exr first.exr --out merged.exr");
    ASSERT_EQ(merge.status, 0) << merge.err;
    EXPECT_TRUE(contains(merge.out, "samples 1-4 (4)")) << merge.out;

    const auto whole = stilltest::readExrWithOpenExr(folder / "whole.exr");
    const auto first = stilltest::readExrWithOpenExr(folder / "first.exr");
    const auto merged = stilltest::readExrWithOpenExr(folder / "merged.exr");
    EXPECT_EQ(whole.sampleRange, (std::pair{1, 4}));
    EXPECT_EQ(first.sampleRange, (std::pair{1, 2}));
    EXPECT_EQ(merged.sampleRange, (std::pair{1, 4}));
    EXPECT_EQ(merged.sampleCount, 4);
    ASSERT_EQ(whole.width, 64);
    ASSERT_EQ(whole.height, 36);
    ASSERT_EQ(merged.rgb.size(), whole.rgb.size());

    double total = 0.0;
    double firstTotal = 0.0;
    int differ = 0;
    for (std::size_t i = 0; i < whole.rgb.size(); ++i) {
        ASSERT_TRUE(std::isfinite(whole.rgb[i])) << i;
        const float tolerance = 1e-5f * std::max(1.0f, std::fabs(whole.rgb[i]));
        if (std::fabs(merged.rgb[i] - whole.rgb[i]) > tolerance) {
            ++differ;
        }
        total += whole.rgb[i];
        firstTotal += first.rgb[i];
    }
    EXPECT_EQ(differ, 0);
    // A real picture, and samples 3 and 4 add to it.
    EXPECT_GT(total, 0.0);
    EXPECT_GT(total, firstTotal);

    // The PNG of the merged sum is the PNG of the single run.
    ASSERT_EQ(runStill(folder, size + "--samples 4 --out whole.png").status, 0);
    ASSERT_EQ(runStill(folder, "merge first.exr second.exr --out merged.png").status, 0);
    const auto wholePicture = stilltest::readPngWithLibpng(folder / "whole.png");
    const auto mergedPicture = stilltest::readPngWithLibpng(folder / "merged.png");
    ASSERT_EQ(wholePicture.rgb.size(), 64u * 36 * 3);
    ASSERT_EQ(mergedPicture.rgb.size(), wholePicture.rgb.size());
    for (std::size_t i = 0; i < wholePicture.rgb.size(); ++i) {
        ASSERT_LE(std::abs(wholePicture.rgb[i] - mergedPicture.rgb[i]), 1) << i;
    }
}

TEST(StillProgram, TimeLimitFinishesTheSampleInProgress)
{
    stilltest::ScratchFolder folder;
    const ProgramRun run = runStill(folder, "--size 16x9 --samples 1000 --seconds 0.001 --first-sample 9 --out t.exr");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto sum = stilltest::readExrWithOpenExr(folder / "t.exr");
    EXPECT_EQ(sum.sampleRange, (std::pair{9, 9}));
    EXPECT_EQ(sum.sampleCount, 1);
    // Not a terminal: one plain line per sample; the figures on stdout.
    EXPECT_TRUE(contains(run.err, "sample 1/1000 (number 9) done after")) << run.err;
    EXPECT_TRUE(contains(run.out, "Shader prog")) << run.out;
    EXPECT_TRUE(contains(run.out, "Rendered 16x9, samples 9-9 (1) in")) << run.out;
    EXPECT_TRUE(contains(run.out, "samples/s (pixels x samples / seconds)")) << run.out;
}

TEST(StillProgram, QuietPrintsNothing)
{
    stilltest::ScratchFolder folder;
    const ProgramRun run = runStill(folder, "--size 8x8 --samples 1 --quiet --out q.png");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(stilltest::readPngWithLibpng(folder / "q.png").width, 8);
}

TEST(StillProgram, ExitStatusAndMessages)
{
    stilltest::ScratchFolder folder;
    std::filesystem::create_directory(folder / "taken.png");
    struct Case {
        std::string args;
        int status;
        std::string message; // on stderr
        std::string env = "";
    };
    const std::string render = "--size 8x8 --samples 1 ";
    const Case cases[] = {
        {"--size 64", 2, "Usage:"},
        {"--bogus", 2, "unknown option \"--bogus\""},
        {"merge --out m.png", 2, "merge needs at least one"},
        {render + "--out missing/x.png", 1, "cannot write missing/x.png"},
        {render + "--out taken.png", 1, "it is a folder"},
        {"merge nothing.exr --out m.png", 1, "cannot read nothing.exr"},
        // A driver whose GLSL stops at 4.50 cannot build the shaders.
        {render + "--out x.png", 1, "the path tracer shader does not build\ncompile log:\n",
         "MESA_GLSL_VERSION_OVERRIDE=450"},
        {render + "--out x.exr", 1, "no OpenGL context", "SDL_VIDEODRIVER=none-such"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args + " " + c.env);
        const ProgramRun run = runStill(folder, c.args, c.env);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(contains(run.err, c.message)) << run.err;
        EXPECT_TRUE(contains(run.err, "rezuro-still: ")) << run.err;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"taken.png"});
    }

    const ProgramRun help = runStill(folder, "--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--size", "--samples", "--seconds", "--first-sample", "--out", "--dump-textures",
                               "--quiet", "merge"}) {
        EXPECT_TRUE(contains(help.out, option)) << option;
    }
}

// The textures as the shaders sample them: the label's colours with GDI's
// red and blue exchanged, and the painted picture's top row first.
TEST(StillProgram, DumpedTexturesReadUpright)
{
    stilltest::ScratchFolder folder;
    const ProgramRun run = runStill(folder, "--size 8x8 --dump-textures tex");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.png"));
    EXPECT_FALSE(contains(run.out, "Rendered")) << run.out;

    const auto label = stilltest::readPngWithLibpng(folder / "tex" / "label.png");
    const auto lettering = stilltest::readPngWithLibpng(folder / "tex" / "lettering.png");
    for (const auto* picture : {&label, &lettering}) {
        EXPECT_EQ(picture->width, 1024);
        EXPECT_EQ(picture->height, 1024);
    }
    ASSERT_EQ(label.rgb.size(), 1024u * 1024 * 3);
    ASSERT_EQ(lettering.rgb.size(), 1024u * 1024 * 3);

    std::map<std::array<int, 3>, int> colours;
    for (std::size_t i = 0; i < label.rgb.size(); i += 3) {
        ++colours[{label.rgb[i], label.rgb[i + 1], label.rgb[i + 2]}];
    }
    const auto most = std::max_element(colours.begin(), colours.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(most->first, (std::array<int, 3>{255, 213, 89})); // the main colour, 0xFFD559
    EXPECT_GT((colours[{51, 40, 81}]), 100000);                  // the band colour, 0x332851
    // The main colour fills the top of the label, the band its foot.
    const auto pixel = [&](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * 1024 + x) * 3;
        return std::array<int, 3>{label.rgb[at], label.rgb[at + 1], label.rgb[at + 2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::array<int, 3>{255, 213, 89}));
    EXPECT_EQ(pixel(0, 1023), (std::array<int, 3>{51, 40, 81}));

    // The lettering stands in the top part; the bottom rows are far from it.
    int nearTop = 0;
    int nearBottom = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 1024; ++x) {
            nearTop += lettering.rgb[(static_cast<std::size_t>(y) * 1024 + x) * 3] < 255;
            nearBottom += lettering.rgb[(static_cast<std::size_t>(1023 - y) * 1024 + x) * 3] < 255;
        }
    }
    EXPECT_GT(nearTop, 1000);
    EXPECT_EQ(nearBottom, 0);
}

} // namespace
