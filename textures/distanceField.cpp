// Exact Euclidean distance transform of the lettering bitmap: squared distance
// to the nearest black pixel, capped at 255, computed separably with the lower
// envelope of parabolas (Felzenszwalb and Huttenlocher), one column pass then
// one row pass.
#include "textures/letteringTexture.h"

float dtGrid[1024 * 1024];
float dtIn[1024];
float dtOut[1024];
int dtSite[1024];
float dtBound[1025];

namespace {

const int side = 1024;
const float farValue = 255.0f;

// Where parabolas at v (height fv) and q (height fq) cross.
float crossing(int q, float fq, int v, float fv)
{
    return ((fq + (float)(q * q)) - (fv + (float)(v * v))) / ((float)q * 2.0f - (float)v * 2.0f);
}

} // namespace

void lowerEnvelope1D(int n)
{
    if (n <= 0)
        return;
    if (n > side)
        n = side; // the line buffers hold one 1024-pixel line

    int k = 0;
    dtSite[0] = 0;
    dtBound[0] = -1e20f;
    dtBound[1] = 1e20f;
    for (int q = 1; q < n; ++q) {
        float s = crossing(q, dtIn[q], dtSite[k], dtIn[dtSite[k]]);
        // Equality pops too: that parabola would be lowest over an empty stretch.
        while (s <= dtBound[k]) {
            --k;
            s = crossing(q, dtIn[q], dtSite[k], dtIn[dtSite[k]]);
        }
        ++k;
        dtSite[k] = q;
        dtBound[k] = s;
        dtBound[k + 1] = 1e20f;
    }

    k = 0;
    for (int q = 0; q < n; ++q) {
        while (dtBound[k + 1] < (float)q)
            ++k;
        const int offset = q - dtSite[k];
        dtOut[q] = (float)(offset * offset) + dtIn[dtSite[k]];
    }
}

void loadColumn(int x)
{
    for (int i = 0; i < side; ++i)
        dtIn[i] = dtGrid[i * side + x];
}

void storeColumn(int x)
{
    for (int i = 0; i < side; ++i)
        dtGrid[i * side + x] = dtOut[i];
}

void loadRow(int y)
{
    for (int i = 0; i < side; ++i)
        dtIn[i] = dtGrid[y * side + i];
}

void storeRow(int y)
{
    for (int i = 0; i < side; ++i)
        dtGrid[y * side + i] = dtOut[i];
}

void distanceField(void* bits)
{
    if (bits == nullptr)
        return;
    unsigned char* pixels = (unsigned char*)bits;

    // Only wholly black pixels (first byte 0) are lettering; grey edges are not.
    for (int i = 0; i < side * side; ++i)
        dtGrid[i] = pixels[i * 4] != 0 ? farValue : 0.0f;

    for (int x = 0; x < side; ++x) {
        loadColumn(x);
        lowerEnvelope1D(side);
        storeColumn(x);
    }
    for (int y = 0; y < side; ++y) {
        loadRow(y);
        lowerEnvelope1D(side);
        storeRow(y);
    }

    // Every value is a whole number from 0 to 255, so the truncation is exact.
    for (int i = 0; i < side * side; ++i)
        pixels[i * 4] = (unsigned char)(int)dtGrid[i];
}
