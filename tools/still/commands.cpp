#include "tools/still/commands.h"

#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"
#include "tools/still/glContext.h"
#include "tools/still/merge.h"
#include "tools/still/progress.h"
#include "tools/still/resultFiles.h"
#include "tools/still/stillRenderer.h"

#include <cstdio>
#include <new>
#include <vector>

namespace still {
namespace {

void prepareFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        throw StillError("cannot write textures into " + folder.string() +
                         (error ? ": " + error.message() : ": it is not a folder"));
    }
}

std::string samplesText(const SumImage& image)
{
    return "samples " + std::to_string(image.firstSample) + "-" + std::to_string(image.lastSample) + " (" +
           std::to_string(image.sampleCount) + ")";
}

} // namespace

void runRender(const RenderOptions& options)
{
    // Fail before a long render, not after it.
    if (options.out) {
        checkWritable(*options.out);
    }
    if (options.dumpTextures) {
        prepareFolder(*options.dumpTextures);
    }

    HiddenGlContext context;
    StillRenderer renderer(options.width, options.height, options.quiet);
    if (options.dumpTextures) {
        renderer.dumpTextures(*options.dumpTextures);
        if (!options.quiet) {
            std::printf("Wrote label.png and lettering.png into %s\n", options.dumpTextures->string().c_str());
            std::fflush(stdout);
        }
        if (!options.out) {
            return;
        }
    }

    ProgressReporter progress(progressStyleFor(options.quiet), stderr, options.samples, options.seconds,
                              options.firstSample);
    const RenderOutcome outcome = renderer.render({options.firstSample, options.samples, options.seconds}, progress);
    if (options.out) {
        writeResult(*options.out, outcome.sum);
    }
    if (!options.quiet) {
        const double pixelSamples = static_cast<double>(options.width) * options.height *
                                    static_cast<double>(outcome.sum.sampleCount);
        std::printf("Rendered %dx%d, %s in %.2f s: %.0f samples/s (pixels x samples / seconds)\n", options.width,
                    options.height, samplesText(outcome.sum).c_str(), outcome.seconds,
                    pixelSamples / outcome.seconds);
        if (options.out) {
            std::printf("Wrote %s\n", options.out->string().c_str());
        }
        std::fflush(stdout);
    }
}

void runMerge(const MergeOptions& options)
{
    std::vector<NamedSum> inputs;
    for (const auto& file : options.inputs) {
        inputs.push_back({file, readSumFile(file)});
    }
    const SumImage merged = mergeSums(inputs);
    writeResult(options.out, merged);
    if (!options.quiet) {
        std::printf("Merged %zu files, %dx%d, %s into %s\n", inputs.size(), merged.width, merged.height,
                    samplesText(merged).c_str(), options.out.string().c_str());
        std::fflush(stdout);
    }
}

int runStill(std::span<const std::string_view> args)
{
    CommandLine line;
    try {
        line = parseCommandLine(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "rezuro-still: %s\n\n%s", error.what(), usageText().c_str());
        return 2;
    }
    try {
        switch (line.command) {
        case Command::help:
            std::printf("%s", usageText().c_str());
            return 0;
        case Command::merge:
            runMerge(line.merge);
            return 0;
        case Command::render:
            runRender(line.render);
            return 0;
        }
    } catch (const StillError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "rezuro-still: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        std::fprintf(stderr, "rezuro-still: out of memory\n");
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "rezuro-still: %s\n", error.what());
    }
    return 1;
}

} // namespace still
