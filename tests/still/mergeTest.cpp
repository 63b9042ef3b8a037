#include "testFiles.h"
#include "tools/still/atomicFile.h"
#include "tools/still/commands.h"
#include "tools/still/errors.h"
#include "tools/still/exrFile.h"
#include "tools/still/pngWriter.h"

#include <gtest/gtest.h>

namespace {

using still::SumImage;

// A sum whose every value is `value`, so that merged values are easy to predict.
SumImage flat(int width, int height, std::int64_t first, std::int64_t last, float value)
{
    SumImage image;
    image.width = width;
    image.height = height;
    image.firstSample = first;
    image.lastSample = last;
    image.sampleCount = last - first + 1;
    image.rgb.assign(static_cast<std::size_t>(width) * height * 3, value);
    return image;
}

void save(const std::filesystem::path& file, const SumImage& image)
{
    still::writeFileAtomically(file, still::encodeExr(image));
}

TEST(StillMerge, AddsSumsAndCountsInAnyOrder)
{
    stilltest::ScratchFolder folder;
    SumImage middle = flat(4, 3, 3, 3, 0.5f);
    middle.rgb[0] = 10.0f; // the top-left red stays apart from the rest
    save(folder / "b.exr", middle);
    save(folder / "c.exr", flat(4, 3, 4, 6, 1.5f));
    save(folder / "a.exr", flat(4, 3, 1, 2, 1.0f));

    still::MergeOptions options;
    options.inputs = {folder / "c.exr", folder / "a.exr", folder / "b.exr"};
    options.out = folder / "all.exr";
    options.quiet = true;
    still::runMerge(options);

    const auto merged = stilltest::readExrWithOpenExr(folder / "all.exr");
    EXPECT_EQ(merged.sampleRange, (std::pair{1, 6}));
    EXPECT_EQ(merged.sampleCount, 6);
    EXPECT_FLOAT_EQ(merged.rgb[0], 12.5f);
    EXPECT_FLOAT_EQ(merged.rgb[1], 3.0f);
    EXPECT_FLOAT_EQ(merged.rgb.back(), 3.0f);

    // As a picture: the average 3 / 6 = 0.5 shows as 186; 12.5 / 6 clamps.
    options.out = folder / "all.png";
    still::runMerge(options);
    const auto picture = stilltest::readPngWithLibpng(folder / "all.png");
    ASSERT_EQ(picture.rgb.size(), 4u * 3 * 3);
    EXPECT_EQ(picture.rgb[0], 255);
    EXPECT_EQ(picture.rgb[1], 186);
    EXPECT_EQ(picture.rgb.back(), 186);
}

TEST(StillMerge, RunsWithAGapCountOnlyTheSamplesHeld)
{
    stilltest::ScratchFolder folder;
    save(folder / "a.exr", flat(2, 2, 1, 2, 1.0f));
    save(folder / "b.exr", flat(2, 2, 5, 6, 1.0f));
    still::MergeOptions options;
    options.inputs = {folder / "a.exr", folder / "b.exr"};
    options.out = folder / "gap.exr";
    options.quiet = true;
    still::runMerge(options);

    const SumImage merged = still::decodeExr(still::readWholeFile(folder / "gap.exr"));
    EXPECT_EQ(merged.firstSample, 1);
    EXPECT_EQ(merged.lastSample, 6);
    EXPECT_EQ(merged.sampleCount, 4);
    // The range now covers 3 and 4 as well: a later run of them would overlap.
    save(folder / "c.exr", flat(2, 2, 3, 4, 1.0f));
    options.inputs = {folder / "gap.exr", folder / "c.exr"};
    options.out = folder / "again.exr";
    EXPECT_THROW(still::runMerge(options), still::StillError);
}

TEST(StillMerge, RefusesAndWritesNothing)
{
    struct Case {
        const char* what;
        std::vector<std::string> inputs;
        std::vector<std::string> named; // files the message must name
        const char* reason;
    };
    const Case cases[] = {
        {"different sizes", {"a.exr", "small.exr"}, {"a.exr", "small.exr"}, "sizes differ"},
        {"overlapping ranges", {"a.exr", "b.exr", "overlap.exr"}, {"b.exr", "overlap.exr"}, "overlap"},
        {"one file twice", {"a.exr", "a.exr"}, {"a.exr"}, "overlap"},
        {"a PNG", {"a.exr", "picture.png"}, {"picture.png"}, "not a sum written by rezuro-still"},
        {"an EXR from elsewhere", {"foreign.exr", "a.exr"}, {"foreign.exr"}, "not a sum written by rezuro-still"},
        {"a missing file", {"a.exr", "missing.exr"}, {"missing.exr"}, "cannot read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        stilltest::ScratchFolder folder;
        save(folder / "a.exr", flat(4, 3, 1, 2, 1.0f));
        save(folder / "b.exr", flat(4, 3, 3, 4, 1.0f));
        save(folder / "overlap.exr", flat(4, 3, 4, 9, 1.0f));
        save(folder / "small.exr", flat(3, 3, 3, 4, 1.0f));
        const std::vector<std::uint8_t> black(12, 0);
        still::writeFileAtomically(folder / "picture.png", still::encodePng(2, 2, black));
        stilltest::ExrWriteSettings foreign;
        foreign.ourAttributes = false;
        stilltest::writeExrWithOpenExr(folder / "foreign.exr", 4, 3, std::vector<float>(36, 0.0f), foreign);
        const auto before = folder.names();

        for (const char* out : {"merged.exr", "merged.png"}) {
            still::MergeOptions options;
            for (const auto& name : c.inputs) {
                options.inputs.push_back(folder / name);
            }
            options.out = folder / out;
            options.quiet = true;
            try {
                still::runMerge(options);
                ADD_FAILURE() << "merged into " << out;
            } catch (const still::StillError& error) {
                const std::string message = error.what();
                EXPECT_NE(message.find(c.reason), std::string::npos) << message;
                for (const auto& name : c.named) {
                    EXPECT_NE(message.find(name), std::string::npos) << message;
                }
            }
            EXPECT_EQ(folder.names(), before);
        }
    }
}

} // namespace
