// How long the estimation core takes for the work one answer key asks of it.
#include <benchmark/benchmark.h>

#include "procedure/procedure.h"

namespace {

// A record of `count` stimuli spread over outputs 30 to 70, successes above 50, so the
// likelihood has a single refined minimum like a real run.
limenta::Procedure recordOf(int count) {
    limenta::Procedure run;
    run.startBestPest(20, 80);
    for (int i = 3; i <= count; ++i) {
        const int output = 30 + (i * 7) % 41;
        run.insertstimulus(output, output > 50 ? 1 : 0);
    }
    return run;
}

void BM_finalThreshold(benchmark::State& state) {
    limenta::Procedure run = recordOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(run.finalThreshold(7.0));
    }
}
BENCHMARK(BM_finalThreshold)->Arg(2)->Arg(20)->Arg(200)->Arg(1000);

}  // namespace
