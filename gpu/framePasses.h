// The two passes of every frame: accumulate one sample, present the average.
#pragma once

#include <windows.h>
#include <GL/gl.h>

// One frame: the limit test, sample count + 1, the accumulate pass into
// textures[pingIndex], the flip, and the present pass to the window.
void renderFrame(float elapsedSeconds);
// The accumulate pass alone (no count change, no flip); it draws one
// rectangle, so a caller may restrict it to a tile with the scissor test.
void accumulatePass();
// The present pass alone: the buffer last written, averaged, to framebuffer 0.
void presentPass();
