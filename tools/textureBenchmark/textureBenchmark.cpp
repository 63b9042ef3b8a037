// How long the start-up texture work takes: each painter, and the distance
// transform alone on the painted lettering.
#include "textures/labelTexture.h"
#include "textures/letteringTexture.h"

#include <benchmark/benchmark.h>

namespace {

// Every painter call makes a new 4 MiB bitmap and new fonts that live until
// the process ends, as in the program; a few iterations keep that small.
constexpr int painterIterations = 8;

void paintLabel(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(paintLabelTexture());
}
BENCHMARK(paintLabel)->Unit(benchmark::kMillisecond)->Iterations(painterIterations);

void paintLettering(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(paintLetteringTexture());
}
BENCHMARK(paintLettering)->Unit(benchmark::kMillisecond)->Iterations(painterIterations);

void distanceFieldOnLettering(benchmark::State& state)
{
    // The transform reads only whether a first byte is 0, and writes 0 exactly
    // there, so running it again on its own output repeats the same work.
    void* bits = paintLetteringTexture();
    for (auto _ : state) {
        distanceField(bits);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(distanceFieldOnLettering)->Unit(benchmark::kMillisecond);

// The two halves of the transform on the thresholded lettering: the column
// pass gathers strided columns, the row pass works on contiguous rows.
void thresholdLettering()
{
    const auto* pixels = static_cast<const unsigned char*>(paintLetteringTexture());
    for (int i = 0; i < 1024 * 1024; ++i)
        dtGrid[i] = pixels[i * 4] != 0 ? 255.0f : 0.0f;
}

void columnPass(benchmark::State& state)
{
    thresholdLettering();
    for (auto _ : state)
        for (int x = 0; x < 1024; ++x) {
            loadColumn(x);
            lowerEnvelope1D(1024);
            storeColumn(x);
        }
}
BENCHMARK(columnPass)->Unit(benchmark::kMillisecond);

void rowPass(benchmark::State& state)
{
    thresholdLettering();
    for (auto _ : state)
        for (int y = 0; y < 1024; ++y) {
            loadRow(y);
            lowerEnvelope1D(1024);
            storeRow(y);
        }
}
BENCHMARK(rowPass)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
