// The GLSL sources, built into the program as text.
#pragma once

// The path tracer, one text from its version line to its main.
extern const char pathTracerSource[];
// The path tracer without its main, for test harnesses.
extern const char pathTracerLibrarySource[];
// The present shader.
extern const char presentShaderSource[];
