// Placeholder until the lettering painter lands.
#include "textures/letteringTexture.h"

void* paintLetteringTexture() { return nullptr; }
