#include "testFiles.h"
#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(StillAtomicFile, WritesAndReplacesLeavingNoTemporaryFile)
{
    stilltest::ScratchFolder folder;
    const auto file = folder / "out.png";
    still::writeFileAtomically(file, bytesOf("first"));
    still::writeFileAtomically(file, bytesOf("second, longer"));
    EXPECT_EQ(still::readWholeFile(file), bytesOf("second, longer"));
    still::writeFileAtomically(file, {});
    EXPECT_TRUE(still::readWholeFile(file).empty());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"out.png"});

    still::checkWritable(folder / "later.exr");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"out.png"});
}

TEST(StillAtomicFile, FailureLeavesNoFileBehind)
{
    stilltest::ScratchFolder folder;
    std::filesystem::create_directory(folder / "taken.png");
    const std::pair<std::string, std::string> cases[] = {
        {"missing/out.png", "cannot write"},
        {"taken.png", "it is a folder"},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        for (const bool probe : {false, true}) {
            try {
                if (probe) {
                    still::checkWritable(folder / name);
                } else {
                    still::writeFileAtomically(folder / name, bytesOf("content"));
                }
                ADD_FAILURE() << "no failure";
            } catch (const still::StillError& error) {
                const std::string text = error.what();
                EXPECT_NE(text.find(message), std::string::npos) << text;
                EXPECT_NE(text.find(name), std::string::npos) << text;
            }
            EXPECT_EQ(folder.names(), std::vector<std::string>{"taken.png"});
            EXPECT_TRUE(std::filesystem::is_empty(folder / "taken.png"));
        }
    }
}

} // namespace
