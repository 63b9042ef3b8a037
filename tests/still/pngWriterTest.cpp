#include "testFiles.h"
#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"
#include "tools/still/pngWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(StillPng, LibpngReadsBackEveryByte)
{
    // 3x2: rows of 9 bytes, not a multiple of 4. 1456x15: exactly one full
    // stored block (65535 bytes with the filter bytes); 200x150: several blocks.
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {1456, 15}, {1457, 15}, {200, 150}};
    stilltest::ScratchFolder folder;
    std::mt19937 random(7);
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
        for (auto& b : rgb) {
            b = static_cast<std::uint8_t>(random());
        }
        const auto file = folder / "picture.png";
        still::writeFileAtomically(file, still::encodePng(width, height, rgb));
        const auto read = stilltest::readPngWithLibpng(file);
        EXPECT_EQ(read.width, width);
        EXPECT_EQ(read.height, height);
        EXPECT_TRUE(read.rgb == rgb);
    }
}

TEST(StillPng, RefusesPixelsThatDoNotMatchTheSize)
{
    const std::vector<std::uint8_t> rgb(12);
    EXPECT_THROW(still::encodePng(2, 3, rgb), still::StillError);
    EXPECT_THROW(still::encodePng(0, 4, {}), still::StillError);
}

} // namespace
