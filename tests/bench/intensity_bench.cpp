// Cost of measuring one captured buffer: pre-emphasis and intensity over a
// full 689-sample buffer.  A buffer arrives 16 times a second, so the
// "x_realtime" counter says how many times faster than real time the
// measurement runs.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "voice/intensity.h"

static void BM_MeasureFullBuffer(benchmark::State& state) {
    std::mt19937 rng(7);
    std::normal_distribution<double> voice(0.0, 6000.0);
    std::vector<int16_t> source(voice::kBufferSamples);
    for (auto& s : source) s = static_cast<int16_t>(std::clamp(voice(rng), -32768.0, 32767.0));
    std::vector<int16_t> buffer(source.size());

    for (auto _ : state) {
        buffer = source;
        voice::preEmphasize(buffer.data(), voice::kBufferSamples);
        benchmark::DoNotOptimize(voice::measureIntensity(buffer.data(), voice::kBufferSamples));
    }
    state.counters["buffers_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                         benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) / 16.0,
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MeasureFullBuffer);

BENCHMARK_MAIN();
