#include <gtest/gtest.h>

#include <optional>

#include "fakeWorld.h"
#include "host/config.h"
#include "testText.h"

namespace {

using Calls = std::vector<std::string>;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

TEST(ReportTest, BannerIsSixLinesOfAtMostThirtyColumnsThenAnEmptyLine)
{
    const fake::Run run = fake::runProgram([](fake::World& w) { w.initWindowResult = 0; });
    const std::vector<std::string> all = lines(run.output);
    ASSERT_GE(all.size(), 7u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(all[i]);
        EXPECT_FALSE(all[i].empty());
        EXPECT_LE(all[i].size(), 30u);
        for (char ch : all[i])
            EXPECT_TRUE(ch >= ' ' && ch <= '~') << "not printable ASCII: " << int(ch);
    }
    EXPECT_EQ(all[6], "");
}

TEST(ReportTest, ReportIsExactWithTheAdapterNamedOrUnknown)
{
    struct Case {
        std::optional<std::string> adapter;
        std::string line;
    };
    const Case cases[] = {
        {"Fake Adapter 9000", "     What's inside: Fake Adapter 9000\n"},
        // A description is printed as it is, never used as a format.
        {"100% %s GPU", "     What's inside: 100% %s GPU\n"},
        {std::nullopt, "     What's inside: Unknown!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        // A refused window leaves the report as the whole output.
        const fake::Run run = fake::runProgram([&](fake::World& w) {
            w.adapter = c.adapter;
            w.initWindowResult = 0;
        });
        const std::size_t bannerEnd = run.output.find("\n\n");
        ASSERT_NE(bannerEnd, std::string::npos);
        EXPECT_EQ(run.output.substr(bannerEnd + 2), reportBody(c.line, limitsEnforced));
        EXPECT_EQ(fake::world().callsStartingWith("EnumDisplayDevicesA"),
                  Calls{"EnumDisplayDevicesA(null, 0, cb=424, 1)"});
    }
}

TEST(ReportTest, RefusedWindowClosesWhatExistsShowsTheBoxAndExitsZero)
{
    const fake::Run run = fake::runProgram([](fake::World& w) { w.initWindowResult = 0; });

    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> calls;
    for (const fake::Event& e : fake::world().events)
        calls.push_back(e.call);
    EXPECT_EQ(calls, (Calls{"GetModuleHandleA(null)", "EnumDisplayDevicesA(null, 0, cb=424, 1)",
                            "initWindow(windowInfo, fullscreen=1, instance)", "closeWindow(windowInfo)",
                            "MessageBoxA(null, Window init error! We're gonna have to abort..., Oh dear, 30)"}));
    // Nothing is printed after the report: no "Compiling", no "Rendering".
    EXPECT_EQ(run.output.find("Compiling"), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("Limits: NOT enforced\n") || run.output.ends_with("Limits: Enforced\n"));
    // The whole report was on its way out before the window was even tried.
    EXPECT_EQ(fake::world().events[2].outputSoFar, run.output.size());
}

} // namespace
