// Expected console text shared by the host tests.
#pragma once

#include <string>

inline const std::string compilingLine = "\nCompiling shaders...\n";
inline const std::string renderingLine = "\nRendering (Close this window or Esc on render window to abort)\n\n";

// The report after the banner, with the given adapter description.
inline std::string reportBody(const std::string& adapterLine, bool enforced)
{
    return "-={ rezuro basecode v 2024-06-01 }=-\n"
           "-={          Vosk / DoLB         }=-\n\n" +
           adapterLine +
           " Render resolution: 1920 x 1080\n"
           "  Max precalc time: 30.00 secs\n"
           "        Max frames: 512\n" +
           (enforced ? "            Limits: Enforced\n" : "            Limits: NOT enforced\n");
}

// Dots for frames first..last, each fortieth followed by its frame-rate line.
inline std::string progress(int first, int last, const std::string& fps)
{
    std::string text;
    for (int frame = first; frame <= last; ++frame) {
        text += '.';
        if (frame % 40 == 0)
            text += " [" + std::to_string(frame) + ", " + fps + " fps]\n";
    }
    return text;
}
