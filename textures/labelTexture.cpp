// Placeholder until the label painter lands.
#include "textures/labelTexture.h"

BITMAPINFO bitmapInfo;
void* paintLabelTexture() { return nullptr; }
