// World positions of points given in the scene's object frames, computed on
// the CPU from the frames' origins and turns, for placing probe points.
#pragma once

#include <cmath>

#include "shaderProbe.h"

namespace scene {

// A point given in a frame whose origin is `origin` and whose (x, z) were
// turned by `angle` (positive: local x toward world +z).
inline probe::Vec4 fromTurnedFrame(const probe::Vec3& local, const probe::Vec3& origin, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {float(origin[0] + c * local[0] - s * local[2]), float(origin[1] + local[1]),
            float(origin[2] + s * local[0] + c * local[2]), 0};
}

// A point given in the pipe stem's frame.
inline probe::Vec4 fromStem(const probe::Vec3& stem)
{
    // The stem frame is the bowl frame moved by (-0.035, 0.005, 0) and turned
    // by 1.1 in x-y; the bowl frame is turned by 1 in x-z.
    const double c = std::cos(1.1), s = std::sin(1.1);
    const double bx = c * stem[0] - s * stem[1] - 0.035;
    const double by = s * stem[0] + c * stem[1] + 0.005;
    return fromTurnedFrame({float(bx), float(by), stem[2]}, {-4.65f, -0.95f, 4.6f}, 1.0);
}

// A point given in the lettering slab's frame.
inline probe::Vec4 fromSlab(const probe::Vec3& local)
{
    return fromTurnedFrame(local, {-4.8f, -1.245f, 4.8f}, 0.5);
}

inline constexpr double pi = 3.14159265358979323846;

} // namespace scene
