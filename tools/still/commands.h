// The two things rezuro-still does. Each throws StillError for the caller to
// report, having written nothing.
#pragma once

#include "tools/still/options.h"

#include <span>
#include <string_view>

namespace still {

void runRender(const RenderOptions& options);
void runMerge(const MergeOptions& options);

// The whole program: parses, dispatches and reports errors. Exit status 0
// when done, 1 on failure, 2 on a bad command line.
int runStill(std::span<const std::string_view> args);

} // namespace still
