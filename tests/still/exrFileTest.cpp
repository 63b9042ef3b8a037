#include "testFiles.h"
#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"
#include "tools/still/exrFile.h"
#include "tools/still/pngWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using still::SumImage;

SumImage sampleImage(int width, int height, std::int64_t first, std::int64_t last, unsigned seed)
{
    SumImage image;
    image.width = width;
    image.height = height;
    image.firstSample = first;
    image.lastSample = last;
    image.sampleCount = last - first + 1;
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-2.0f, 50.0f);
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (auto& v : image.rgb) {
        v = value(random);
    }
    return image;
}

// Bit for bit, so that infinities and signs count too.
bool sameFloats(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(StillExr, OpenExrReadsOurFiles)
{
    stilltest::ScratchFolder folder;
    const std::pair<int, int> sizes[] = {{1, 1}, {7, 3}, {64, 36}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        SumImage image = sampleImage(width, height, 5, 9, 1);
        // Rows must not be mixed up: mark the top-left and bottom-right pixels.
        image.rgb[0] = std::numeric_limits<float>::infinity();
        image.rgb.back() = -0.0f;
        const auto file = folder / "sum.exr";
        still::writeFileAtomically(file, still::encodeExr(image));

        const auto read = stilltest::readExrWithOpenExr(file);
        EXPECT_EQ(read.width, width);
        EXPECT_EQ(read.height, height);
        EXPECT_EQ(read.compression, "none");
        EXPECT_TRUE(sameFloats(read.rgb, image.rgb));
        EXPECT_EQ(read.sampleRange, (std::pair{5, 9}));
        EXPECT_EQ(read.sampleCount, 5);
    }
}

TEST(StillExr, ReadsWhatOpenExrWritesAndRoundTrips)
{
    stilltest::ScratchFolder folder;
    const SumImage image = sampleImage(13, 5, 3, 10, 2);
    const auto file = folder / "theirs.exr";
    stilltest::ExrWriteSettings settings;
    settings.sampleRange = {3, 10};
    settings.sampleCount = 6; // a merge with a gap holds fewer than its range
    stilltest::writeExrWithOpenExr(file, image.width, image.height, image.rgb, settings);

    const SumImage read = still::decodeExr(still::readWholeFile(file));
    EXPECT_EQ(read.width, 13);
    EXPECT_EQ(read.height, 5);
    EXPECT_EQ(read.firstSample, 3);
    EXPECT_EQ(read.lastSample, 10);
    EXPECT_EQ(read.sampleCount, 6);
    EXPECT_TRUE(sameFloats(read.rgb, image.rgb));

    const SumImage again = still::decodeExr(still::encodeExr(read));
    EXPECT_TRUE(sameFloats(again.rgb, image.rgb));
    EXPECT_EQ(again.sampleCount, 6);
}

TEST(StillExr, RefusesFilesThatAreNotOurs)
{
    stilltest::ScratchFolder folder;
    const SumImage image = sampleImage(6, 4, 1, 2, 3);
    struct Case {
        const char* what;
        stilltest::ExrWriteSettings settings;
        const char* message;
    };
    stilltest::ExrWriteSettings plain;
    plain.ourAttributes = false;
    stilltest::ExrWriteSettings zip;
    zip.zip = true;
    stilltest::ExrWriteSettings half;
    half.half = true;
    stilltest::ExrWriteSettings alpha;
    alpha.alpha = true;
    stilltest::ExrWriteSettings badRange;
    badRange.sampleRange = {4, 3};
    stilltest::ExrWriteSettings tooMany;
    tooMany.sampleRange = {1, 2};
    tooMany.sampleCount = 3;
    const Case cases[] = {
        {"no sample attributes", plain, "no attribute \"rezuroSampleRange\""},
        {"compressed", zip, "compressed"},
        {"half floats", half, "not 32-bit float"},
        {"alpha channel", alpha, "not exactly R, G, B"},
        {"range backwards", badRange, "does not hold together"},
        {"more samples than the range", tooMany, "does not hold together"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = folder / "foreign.exr";
        stilltest::writeExrWithOpenExr(file, image.width, image.height, image.rgb, c.settings);
        try {
            still::decodeExr(still::readWholeFile(file));
            ADD_FAILURE() << "accepted";
        } catch (const still::StillError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }

    const std::vector<std::uint8_t> rgb(3, 0);
    EXPECT_THROW(still::decodeExr(still::encodePng(1, 1, rgb)), still::StillError);
    EXPECT_THROW(still::decodeExr({}), still::StillError);
}

// A damaged file must be refused, never read out of bounds or crash.
TEST(StillExr, DamagedFilesAreRefusedSafely)
{
    const auto bytes = still::encodeExr(sampleImage(5, 3, 1, 1, 4));
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        const std::vector<std::uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(still::decodeExr(truncated), still::StillError) << "cut at " << cut;
    }
    // Every byte of the header and the offset table, set to 0xFF in turn:
    // either still a file of ours, or refused.
    const std::size_t chunksAt = bytes.size() - 3 * (8 + 5 * 12);
    for (std::size_t at = 0; at < chunksAt; ++at) {
        auto damaged = bytes;
        damaged[at] = 0xFF;
        try {
            const SumImage read = still::decodeExr(damaged);
            EXPECT_EQ(read.rgb.size(), static_cast<std::size_t>(read.width) * read.height * 3);
        } catch (const still::StillError&) {
        }
    }
}

} // namespace
