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

} // namespace

BENCHMARK_MAIN();
