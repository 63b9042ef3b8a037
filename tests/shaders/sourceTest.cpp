// The path tracer's text: it builds with the reference compiler and with the
// driver, and keeps clear of what the driver's preprocessor trips over.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "shaders/shaderSources.h"
#include "shaderProbe.h"

namespace {

// Runs glslangValidator on `text` as a fragment shader; returns its exit
// status and appends its output to *output.
int validate(const std::string& text, std::string* output)
{
    const auto dir = std::filesystem::temp_directory_path();
    const auto file = dir / ("rezuro_shader_" + std::to_string(::getpid()) + ".frag");
    std::ofstream(file) << text;
    const std::string command = std::string(GLSLANG_VALIDATOR) + " -S frag " + file.string() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
        output->append(buffer);
    const int status = pclose(pipe);
    std::filesystem::remove(file);
    return WEXITSTATUS(status);
}

TEST(PathTracerSource, StartsWithTheVersionLineAndHoldsTheLibraryFirst)
{
    const std::string full = pathTracerSource;
    const std::string library = pathTracerLibrarySource;
    EXPECT_EQ(full.rfind("#version 460\n", 0), 0u);
    ASSERT_LT(library.size(), full.size());
    EXPECT_EQ(full.compare(0, library.size(), library), 0);
    EXPECT_EQ(library.find("void main"), std::string::npos);
    EXPECT_NE(full.find("void main", library.size()), std::string::npos);
}

TEST(PathTracerSource, PassesTheReferenceCompiler)
{
    if (std::string(GLSLANG_VALIDATOR).find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "glslangValidator is not installed";
    std::string output;
    EXPECT_EQ(validate(pathTracerSource, &output), 0) << output;
}

TEST(PathTracerSource, CompilesOnTheDriver)
{
    ASSERT_TRUE(probe::ready());
    std::string log;
    EXPECT_TRUE(probe::compiles(pathTracerSource, &log)) << log;
    // The library with a minimal main of its own, as the probes use it.
    EXPECT_TRUE(probe::compiles(std::string(pathTracerLibrarySource) + "void main(){c=vec3(0,0,0);}\n", &log)) << log;
}

// Mesa's preprocessor keeps waiting for an argument list after a function-like
// macro's name followed by ')' and can report an unexpected end of file; the
// failure depends on everything after that place, so the text is kept free of
// it rather than left to luck.
TEST(PathTracerSource, NoMacroNameBeforeACloseParen)
{
    EXPECT_EQ(probe::macroBeforeCloseParen(pathTracerSource), "");
}

TEST(PathTracerSource, MacroCheckFindsWhatTheDriverRejects)
{
    struct Case {
        const char* text;
        bool flagged;
    };
    const Case cases[] = {
        {"c=vec3(abs(n.x));", true},
        {"c=vec3(abs(n.x ));", true},
        {"vec3 pt(vec3 p,vec3 q){", true},
        {"vec3 pt(vec3 p,vec3 q\n){", true},
        {"c=vec3(abs(n).x<.5);", false},
        {"c=vec3(n.xy,max(a,b));", false},
        {"// a comment may say f(n.x)\nc=vec3(1);", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!probe::macroBeforeCloseParen(c.text).empty(), c.flagged) << c.text;
}

} // namespace
