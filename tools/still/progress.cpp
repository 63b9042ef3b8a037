#include "tools/still/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace still {
namespace {

std::string printed(const char* format, auto... values)
{
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string rateText(double rate)
{
    return rate > 0.0 ? printed("%.3g samples/s", rate) : std::string("-- samples/s");
}

std::string leftText(double left)
{
    return left >= 0.0 ? formatDuration(left) + " left" : std::string("--:-- left");
}

int terminalColumns()
{
    if (const char* columns = std::getenv("COLUMNS")) {
        const int n = std::atoi(columns);
        if (n >= 20) {
            return n;
        }
    }
    return 80;
}

} // namespace

double ProgressFigures::samplesPerSecond() const
{
    return seconds > 0.0 && samplesDone > 0.0 ? samplesDone / seconds : 0.0;
}

double ProgressFigures::secondsLeft() const
{
    const double rate = samplesPerSecond();
    if (rate <= 0.0) {
        return -1.0;
    }
    // The time limit lets the sample in progress finish, so the run ends at the
    // later of the limit and the end of that sample.
    const double bySamples = (static_cast<double>(samplesWanted) - samplesDone) / rate;
    const double toSampleEnd = (std::ceil(samplesDone) - samplesDone) / rate;
    const double byTime = std::max(secondsAllowed - seconds, toSampleEnd);
    return std::max(0.0, std::min(bySamples, byTime));
}

double ProgressFigures::fraction() const
{
    const double bySamples = samplesWanted > 0 ? samplesDone / static_cast<double>(samplesWanted) : 1.0;
    const double byTime = secondsAllowed > 0.0 ? seconds / secondsAllowed : 1.0;
    return std::clamp(std::max(bySamples, byTime), 0.0, 1.0);
}

std::string formatDuration(double seconds)
{
    const auto total = static_cast<long long>(std::ceil(std::max(0.0, seconds)));
    if (total >= 3600) {
        return printed("%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    }
    return printed("%02lld:%02lld", total / 60, total % 60);
}

std::string formatBar(const ProgressFigures& figures, int columns)
{
    const std::string counts = printed(" %lld/%lld samples  ", static_cast<long long>(figures.samplesDone),
                                       static_cast<long long>(figures.samplesWanted)) +
                               rateText(figures.samplesPerSecond()) + "  " + leftText(figures.secondsLeft());
    // Room for the longest figures, so that the bar does not jump as they change.
    const int countsRoom = std::max(static_cast<int>(counts.size()), 48);
    const int barWidth = std::clamp(columns - 3 - countsRoom, 0, 40);
    if (barWidth < 5) {
        return counts.substr(1);
    }
    const int filled = static_cast<int>(std::floor(figures.fraction() * barWidth));
    std::string bar(1, '[');
    bar.append(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(barWidth - filled), '.');
    bar += ']';
    bar += counts;
    return bar;
}

std::string formatSampleLine(const ProgressFigures& figures, std::int64_t firstSample)
{
    const auto done = static_cast<long long>(figures.samplesDone);
    return printed("sample %lld/%lld (number %lld) done after %.2f s, ", done,
                   static_cast<long long>(figures.samplesWanted), static_cast<long long>(firstSample) + done - 1,
                   figures.seconds) +
           rateText(figures.samplesPerSecond()) + ", " + leftText(figures.secondsLeft());
}

ProgressStyle progressStyleFor(bool quiet)
{
    if (quiet) {
        return ProgressStyle::quiet;
    }
#ifdef _WIN32
    const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
    const bool terminal = isatty(fileno(stderr)) != 0;
#endif
    return terminal ? ProgressStyle::bar : ProgressStyle::lines;
}

ProgressReporter::ProgressReporter(ProgressStyle style, std::FILE* stream, std::int64_t samplesWanted,
                                   double secondsAllowed, std::int64_t firstSample)
    : style_(style), stream_(stream), samplesWanted_(samplesWanted), secondsAllowed_(secondsAllowed),
      firstSample_(firstSample)
{
}

ProgressReporter::~ProgressReporter() { finish(); }

void ProgressReporter::partDone(double samplesDone, double seconds)
{
    // A terminal redraw at most ten times a second.
    if (style_ == ProgressStyle::bar && (lastDrawn_ < 0.0 || seconds - lastDrawn_ >= 0.1)) {
        drawBar({samplesDone, samplesWanted_, seconds, secondsAllowed_});
        lastDrawn_ = seconds;
    }
}

void ProgressReporter::sampleDone(std::int64_t samplesDone, double seconds)
{
    const ProgressFigures figures{static_cast<double>(samplesDone), samplesWanted_, seconds, secondsAllowed_};
    if (style_ == ProgressStyle::bar) {
        drawBar(figures);
        lastDrawn_ = seconds;
    } else if (style_ == ProgressStyle::lines) {
        std::fprintf(stream_, "%s\n", formatSampleLine(figures, firstSample_).c_str());
        std::fflush(stream_);
    }
}

void ProgressReporter::finish()
{
    if (barOpen_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        barOpen_ = false;
    }
}

void ProgressReporter::drawBar(const ProgressFigures& figures)
{
    // Back to the line start; spaces cover what a longer earlier line left
    // (no escape sequences, which not every Windows console takes).
    std::string line = formatBar(figures, terminalColumns());
    const std::size_t length = line.size();
    if (line.size() < barLength_) {
        line.append(barLength_ - line.size(), ' ');
    }
    barLength_ = length;
    std::fprintf(stream_, "\r%s", line.c_str());
    std::fflush(stream_);
    barOpen_ = true;
}

} // namespace still
