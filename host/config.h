// Build-time configuration of the renderer: the picture's size and the limits
// that the report announces. There is no run-time configuration.
#pragma once

#include <cstdint>

#ifndef REZURO_LIMITS_ENFORCED
#define REZURO_LIMITS_ENFORCED 0
#endif

constexpr std::uint32_t renderWidth = 1920;
constexpr std::uint32_t renderHeight = 1080;
constexpr double maxPrecalcSeconds = 30.0;
constexpr std::int32_t maxFrames = 512;
// Whether reaching a limit stops rendering. Off in this build: the limits are
// reported but rendering goes on.
constexpr bool limitsEnforced = REZURO_LIMITS_ENFORCED != 0;
