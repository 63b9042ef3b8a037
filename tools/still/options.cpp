#include "tools/still/options.h"

#include "host/config.h"
#include "tools/still/errors.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <set>

namespace still {
namespace {

template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::int64_t parseCount(std::string_view option, std::string_view text, std::int64_t most)
{
    const auto value = parseNumber<std::int64_t>(text);
    if (!value || *value < 1 || *value > most) {
        throw UsageError(std::string(option) + " wants a whole number from 1 to " + std::to_string(most) +
                         ", not \"" + std::string(text) + "\"");
    }
    return *value;
}

double parseSeconds(std::string_view text)
{
    const auto value = parseNumber<double>(text);
    if (!value || !std::isfinite(*value) || *value <= 0.0) {
        throw UsageError("--seconds wants a number of seconds above 0, not \"" + std::string(text) + "\"");
    }
    return *value;
}

void parseSize(std::string_view text, RenderOptions& render)
{
    const auto cross = text.find_first_of("xX");
    const auto bad = [&] {
        return UsageError("--size wants WIDTHxHEIGHT, each from 1 to " + std::to_string(largestSide) + ", not \"" +
                          std::string(text) + "\"");
    };
    if (cross == std::string_view::npos) {
        throw bad();
    }
    const auto width = parseNumber<int>(text.substr(0, cross));
    const auto height = parseNumber<int>(text.substr(cross + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > largestSide || *height > largestSide) {
        throw bad();
    }
    render.width = *width;
    render.height = *height;
}

std::filesystem::path parseOut(std::string_view text)
{
    std::filesystem::path file(text);
    if (!fileKindOf(file)) {
        throw UsageError("--out wants a file name ending in .png or .exr, not \"" + std::string(text) + "\"");
    }
    return file;
}

// Splits "--name=value" and "--name value" alike; flags take no value.
class ArgumentReader {
public:
    explicit ArgumentReader(std::span<const std::string_view> args) : args_(args) {}

    bool done() const { return next_ >= args_.size(); }

    // The next argument; for "--name=value" the name, keeping the value for value().
    std::string_view take()
    {
        std::string_view arg = args_[next_++];
        pending_.reset();
        if (arg.starts_with("--")) {
            const auto equals = arg.find('=');
            if (equals != std::string_view::npos) {
                pending_ = arg.substr(equals + 1);
                arg = arg.substr(0, equals);
            }
        }
        return arg;
    }

    std::string_view value(std::string_view option)
    {
        if (pending_) {
            const auto v = *pending_;
            pending_.reset();
            return v;
        }
        if (done()) {
            throw UsageError(std::string(option) + " needs a value");
        }
        return args_[next_++];
    }

    void noValue(std::string_view option) const
    {
        if (pending_) {
            throw UsageError(std::string(option) + " takes no value");
        }
    }

private:
    std::span<const std::string_view> args_;
    std::size_t next_ = 0;
    std::optional<std::string_view> pending_;
};

void once(std::set<std::string, std::less<>>& seen, std::string_view option)
{
    if (!seen.emplace(option).second) {
        throw UsageError(std::string(option) + " is given twice");
    }
}

CommandLine parseMerge(ArgumentReader& reader)
{
    CommandLine line;
    line.command = Command::merge;
    std::set<std::string, std::less<>> seen;
    bool haveOut = false;
    while (!reader.done()) {
        const auto arg = reader.take();
        if (arg == "--help" || arg == "-h") {
            line.command = Command::help;
            return line;
        }
        if (arg == "--out") {
            once(seen, arg);
            line.merge.out = parseOut(reader.value(arg));
            haveOut = true;
        } else if (arg == "--quiet") {
            once(seen, arg);
            reader.noValue(arg);
            line.merge.quiet = true;
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError("merge does not know the option \"" + std::string(arg) + "\"");
        } else {
            line.merge.inputs.emplace_back(arg);
        }
    }
    if (line.merge.inputs.empty()) {
        throw UsageError("merge needs at least one .exr file to read");
    }
    if (!haveOut) {
        throw UsageError("merge needs --out FILE.png or --out FILE.exr");
    }
    return line;
}

CommandLine parseRender(ArgumentReader& reader)
{
    CommandLine line;
    RenderOptions& render = line.render;
    render.samples = maxFrames;
    render.seconds = maxPrecalcSeconds;
    std::set<std::string, std::less<>> seen;
    while (!reader.done()) {
        const auto arg = reader.take();
        if (arg == "--help" || arg == "-h") {
            line.command = Command::help;
            return line;
        }
        if (arg == "--size") {
            once(seen, arg);
            parseSize(reader.value(arg), render);
        } else if (arg == "--samples") {
            once(seen, arg);
            render.samples = parseCount(arg, reader.value(arg), lastDistinctSample);
        } else if (arg == "--seconds") {
            once(seen, arg);
            render.seconds = parseSeconds(reader.value(arg));
        } else if (arg == "--first-sample") {
            once(seen, arg);
            render.firstSample = parseCount(arg, reader.value(arg), lastDistinctSample);
        } else if (arg == "--out") {
            once(seen, arg);
            render.out = parseOut(reader.value(arg));
        } else if (arg == "--dump-textures") {
            once(seen, arg);
            const auto folder = reader.value(arg);
            if (folder.empty()) {
                throw UsageError("--dump-textures needs a folder");
            }
            render.dumpTextures = std::filesystem::path(folder);
        } else if (arg == "--quiet") {
            once(seen, arg);
            reader.noValue(arg);
            render.quiet = true;
        } else if (arg.starts_with("-")) {
            throw UsageError("unknown option \"" + std::string(arg) + "\"");
        } else {
            throw UsageError("unexpected argument \"" + std::string(arg) + "\"");
        }
    }
    // The last sample drawn must still have a seed of its own.
    if (render.firstSample + render.samples - 1 > lastDistinctSample) {
        throw UsageError("--first-sample " + std::to_string(render.firstSample) + " with --samples " +
                         std::to_string(render.samples) + " goes past sample " +
                         std::to_string(lastDistinctSample) + ", the last one with a seed of its own");
    }
    return line;
}

} // namespace

std::optional<FileKind> fileKindOf(const std::filesystem::path& file)
{
    if (!file.has_stem() || file.filename() == file.extension()) {
        return std::nullopt;
    }
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") {
        return FileKind::png;
    }
    if (extension == ".exr") {
        return FileKind::exr;
    }
    return std::nullopt;
}

CommandLine parseCommandLine(std::span<const std::string_view> args)
{
    ArgumentReader reader(args);
    if (!args.empty() && args.front() == "merge") {
        reader.take();
        return parseMerge(reader);
    }
    return parseRender(reader);
}

std::string usageText()
{
    const std::string samples = std::to_string(maxFrames);
    const std::string seconds = std::to_string(static_cast<int>(maxPrecalcSeconds));
    return "Usage:\n"
           "  rezuro-still [options]                   render the picture into a file\n"
           "  rezuro-still merge A.exr B.exr ... --out FILE.png|FILE.exr\n"
           "                                           add sums rendered in separate runs\n"
           "\n"
           "Rendering options:\n"
           "  --size WxH           picture size in pixels (default 1920x1080)\n"
           "  --samples N          stop after N samples per pixel (default " + samples + ")\n"
           "  --seconds S          stop after S seconds, finishing the sample in progress\n"
           "                       (default " + seconds + "); whichever limit comes first ends the run\n"
           "  --first-sample K     number the first sample K, so that runs over K..K+N-1\n"
           "                       add up to one long run (default 1)\n"
           "  --out FILE.png       the average, gamma 1/2.2, 8 bits per channel (default: none)\n"
           "  --out FILE.exr       the float sum of the samples, with their range, for merge\n"
           "  --dump-textures DIR  write label.png and lettering.png into DIR (default: none);\n"
           "                       without --out nothing is rendered then\n"
           "  --quiet              print nothing but errors (default: progress on stderr,\n"
           "                       shader build lines and the figures on stdout)\n"
           "  --help               this text\n"
           "\n"
           "Merge options:\n"
           "  --out FILE           .png for the average, .exr for the summed file (required)\n"
           "  --quiet              print nothing but errors\n"
           "\n"
           "Without --out and --dump-textures the picture is rendered and only the speed is\n"
           "reported. Exit status: 0 done, 1 failed (nothing written), 2 bad command line.\n";
}

} // namespace still
