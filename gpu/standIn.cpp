// Placeholder until the frame pipeline lands.
#include "gpu/framePasses.h"
#include "gpu/renderResources.h"

RenderState renderState;
void initResources() {}
void initResourcesSized(GLsizei, GLsizei) {}
void renderFrame(float) {}
void accumulatePass() {}
void presentPass() {}
