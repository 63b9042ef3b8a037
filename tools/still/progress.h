// Progress of a render on standard error: a bar that redraws itself on a
// terminal, one plain line per sample otherwise, nothing when quiet.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace still {

struct ProgressFigures {
    double samplesDone = 0.0; // whole samples plus the finished part of the current one
    std::int64_t samplesWanted = 0;
    double seconds = 0.0;     // since rendering began
    double secondsAllowed = 0.0;

    double samplesPerSecond() const;
    // Whichever limit comes first; negative while no estimate is possible.
    double secondsLeft() const;
    // 0 to 1, by the same limit.
    double fraction() const;
};

std::string formatDuration(double seconds);
// One line for a terminal, fitted into columns characters.
std::string formatBar(const ProgressFigures& figures, int columns);
// The line logged when a whole sample is done; firstSample numbers the samples.
std::string formatSampleLine(const ProgressFigures& figures, std::int64_t firstSample);

enum class ProgressStyle { bar, lines, quiet };

// The style for standard error: a bar on a terminal, lines otherwise.
ProgressStyle progressStyleFor(bool quiet);

class ProgressReporter {
public:
    ProgressReporter(ProgressStyle style, std::FILE* stream, std::int64_t samplesWanted, double secondsAllowed,
                     std::int64_t firstSample);
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Part of a sample is done (after a tile); redraws the bar now and then.
    void partDone(double samplesDone, double seconds);
    // A whole sample is done.
    void sampleDone(std::int64_t samplesDone, double seconds);
    // Ends the bar's line.
    void finish();

private:
    void drawBar(const ProgressFigures& figures);

    ProgressStyle style_;
    std::FILE* stream_;
    std::int64_t samplesWanted_;
    double secondsAllowed_;
    std::int64_t firstSample_;
    double lastDrawn_ = -1.0;
    bool barOpen_ = false;
    std::size_t barLength_ = 0;
};

} // namespace still
