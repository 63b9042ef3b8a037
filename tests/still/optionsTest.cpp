#include "host/config.h"
#include "tools/still/errors.h"
#include "tools/still/options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using still::Command;
using still::CommandLine;

std::vector<std::string_view> split(const std::string& line, std::vector<std::string>& storage)
{
    std::istringstream in(line);
    storage.clear();
    for (std::string word; in >> word;) {
        storage.push_back(word);
    }
    return {storage.begin(), storage.end()};
}

CommandLine parse(const std::string& line)
{
    std::vector<std::string> storage;
    const auto args = split(line, storage);
    return still::parseCommandLine(args);
}

struct GoodRender {
    std::string line;
    int width, height;
    std::int64_t samples;
    double seconds;
    std::int64_t firstSample;
    std::string out;   // "" for none
    std::string dump;  // "" for none
    bool quiet;
};

TEST(StillOptions, GoodRenderCommandLines)
{
    const GoodRender cases[] = {
        {"", 1920, 1080, maxFrames, maxPrecalcSeconds, 1, "", "", false},
        {"--size 64x36 --samples 4 --seconds 2.5 --first-sample 3 --out a.exr --quiet", 64, 36, 4, 2.5, 3, "a.exr",
         "", true},
        {"--size=640X360 --out=dir/x.PNG --samples=7", 640, 360, 7, maxPrecalcSeconds, 1, "dir/x.PNG", "", false},
        {"--dump-textures tex", 1920, 1080, maxFrames, maxPrecalcSeconds, 1, "", "tex", false},
        {"--size 1x16384 --seconds 1e-3", 1, 16384, maxFrames, 0.001, 1, "", "", false},
        // The last sample may be the last whose count a float tells apart.
        {"--first-sample 16777215 --samples 2", 1920, 1080, 2, maxPrecalcSeconds, 16777215, "", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CommandLine line = parse(c.line);
        ASSERT_EQ(line.command, Command::render);
        const auto& r = line.render;
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.samples, c.samples);
        EXPECT_DOUBLE_EQ(r.seconds, c.seconds);
        EXPECT_EQ(r.firstSample, c.firstSample);
        EXPECT_EQ(r.out ? r.out->string() : "", c.out);
        EXPECT_EQ(r.dumpTextures ? r.dumpTextures->string() : "", c.dump);
        EXPECT_EQ(r.quiet, c.quiet);
    }
}

TEST(StillOptions, MergeAndHelp)
{
    const CommandLine merge = parse("merge b.exr a.exr --out m.png --quiet");
    ASSERT_EQ(merge.command, Command::merge);
    ASSERT_EQ(merge.merge.inputs.size(), 2u);
    EXPECT_EQ(merge.merge.inputs[0], "b.exr");
    EXPECT_EQ(merge.merge.inputs[1], "a.exr");
    EXPECT_EQ(merge.merge.out, "m.png");
    EXPECT_TRUE(merge.merge.quiet);

    for (const char* line : {"--help", "-h", "--size 2x2 --help", "merge --help"}) {
        EXPECT_EQ(parse(line).command, Command::help) << line;
    }
}

TEST(StillOptions, BadCommandLinesSayWhatIsWrong)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--size 64", "--size wants WIDTHxHEIGHT"},
        {"--size 0x10", "--size wants"},
        {"--size 64x", "--size wants"},
        {"--size x36", "--size wants"},
        {"--size -1x5", "--size wants"},
        {"--size 16385x10", "--size wants"},
        {"--size 64x36x2", "--size wants"},
        {"--samples 0", "--samples wants a whole number"},
        {"--samples 1.5", "--samples wants"},
        {"--samples abc", "--samples wants"},
        {"--samples 16777217", "--samples wants"},
        {"--samples", "--samples needs a value"},
        {"--seconds 0", "--seconds wants"},
        {"--seconds -1", "--seconds wants"},
        {"--seconds nan", "--seconds wants"},
        {"--seconds inf", "--seconds wants"},
        {"--seconds 3s", "--seconds wants"},
        {"--first-sample 0", "--first-sample wants"},
        {"--first-sample 16777216 --samples 2", "goes past sample 16777216"},
        {"--out a.jpg", "--out wants a file name ending in .png or .exr"},
        {"--out .png", "--out wants"},
        {"--out dir/", "--out wants"},
        {"--quiet=1", "--quiet takes no value"},
        {"--bogus", "unknown option \"--bogus\""},
        {"stray", "unexpected argument \"stray\""},
        {"--samples 2 --samples 3", "--samples is given twice"},
        {"merge --out c.png", "merge needs at least one .exr file"},
        {"merge a.exr", "merge needs --out"},
        {"merge a.exr --out c.tif", "--out wants"},
        {"merge a.exr --size 2x2 --out c.png", "merge does not know the option \"--size\""},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        try {
            parse(line);
            ADD_FAILURE() << "accepted";
        } catch (const still::UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

TEST(StillOptions, UsageNamesEveryOptionWithItsDefault)
{
    const std::string usage = still::usageText();
    const std::pair<const char*, std::string> options[] = {
        {"--size WxH", "default 1920x1080"},
        {"--samples N", "default " + std::to_string(maxFrames)},
        {"--seconds S", "default " + std::to_string(static_cast<int>(maxPrecalcSeconds))},
        {"--first-sample K", "default 1"},
        {"--out FILE.png", "default: none"},
        {"--dump-textures DIR", "default: none"},
        {"--quiet", "default: progress"},
    };
    for (const auto& [option, fallback] : options) {
        const auto at = usage.find(std::string("\n  ") + option);
        ASSERT_NE(at, std::string::npos) << option;
        // The default follows within the option's own lines.
        EXPECT_NE(usage.substr(at, 200).find(fallback), std::string::npos) << option;
    }
}

} // namespace
