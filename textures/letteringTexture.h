// The lettering bitmap and its clamped squared-distance field.
#pragma once

// Paints "Kimo57", turns it into the distance field and returns its pixels.
void* paintLetteringTexture();
// Rewrites the first byte of each of the 1024 x 1024 pixels with min(255, D^2).
void distanceField(void* bits);
// One line of the separable transform: dtIn -> dtOut.
void lowerEnvelope1D(int n);
void loadColumn(int x);
void storeColumn(int x);
void loadRow(int y);
void storeRow(int y);

extern float dtGrid[1024 * 1024];
extern float dtIn[1024];
extern float dtOut[1024];
extern int dtSite[1024];
extern float dtBound[1025];
