// How long the estimation core takes for the work one answer key asks of it, and how many
// virtual subjects the simulator runs per second.
#include <benchmark/benchmark.h>

#include "cli/simulation.h"
#include "core/procedure/bayes.h"
#include "core/procedure/procedure.h"
#include "core/procedure/robust_bayes.h"
#include "core/run/run.h"
#include "core/trial/run_start.h"

namespace {

// A record of `count` stimuli spread over outputs 30 to 70, successes above 50, so the
// likelihood has a single refined minimum like a real run.
void fillRecord(limenta::Procedure& run, int count) {
    run.nrstimulus = 0;
    run.startBestPest(20, 80);
    for (int i = 3; i <= count; ++i) {
        const int output = 30 + (i * 7) % 41;
        run.insertstimulus(output, output > 50 ? 1 : 0);
    }
}

// One estimate from a record seen for the first time: the grid sums every stimulus.
void BM_finalThreshold(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        limenta::Procedure run;
        fillRecord(run, static_cast<int>(state.range(0)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(run.finalThreshold(7.0));
    }
}
BENCHMARK(BM_finalThreshold)->Arg(2)->Arg(20)->Arg(200)->Arg(1000);

// One estimate after one new stimulus, as every answer of a run asks for it.
void BM_finalThresholdAfterOneMore(benchmark::State& state) {
    limenta::Procedure run;
    const int count = static_cast<int>(state.range(0));
    fillRecord(run, count - 1);
    run.finalThreshold(7.0);
    for (auto _ : state) {
        run.insertstimulus(55, 1);
        benchmark::DoNotOptimize(run.finalThreshold(7.0));
        state.PauseTiming();
        fillRecord(run, count - 1);  // the same record again, its grid sums kept
        run.finalThreshold(7.0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_finalThresholdAfterOneMore)->Arg(2)->Arg(20)->Arg(200)->Arg(1000);

// The run's 95 % interval after `n` answers of a staircase around 55 (outputs 48 to 62),
// worked out afresh from the answers as every method but the robust one does.
void BM_robustInterval(benchmark::State& state) {
    std::vector<limenta::FiredAnswer> answers;
    for (int i = 0; i < state.range(0); ++i) {
        const int output = 48 + (i * 5) % 15;
        answers.push_back({output, output > 55 ? 1 : 0});
    }
    limenta::usualRobustModel();  // built once in a program's life, before the first answer
    for (auto _ : state) {
        benchmark::DoNotOptimize(limenta::robustInterval(answers));
    }
}
BENCHMARK(BM_robustInterval)->Arg(1)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);

// The 200th answer of a run and its undo, each with the interval the window shows after it:
// the most a key press and Ctrl+Z ask of the core. The window redraws within a frame (16.7
// ms at 60 Hz) when this is well under it.
void BM_answerAndUndoAt200(benchmark::State& state, const char* key) {
    const limenta::Method& method = *limenta::findMethod(limenta::methods(), key);
    limenta::Run run(method, {});
    for (int i = 0; i < 199; ++i) {
        run.answer(run.output() >= 55 ? 1 : 0, 0);
    }
    for (auto _ : state) {
        run.answer(1, 0);
        benchmark::DoNotOptimize(run.interval());
        run.withdraw();
        benchmark::DoNotOptimize(run.interval());
    }
}
BENCHMARK_CAPTURE(BM_answerAndUndoAt200, adaptivePest, "pest")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_answerAndUndoAt200, mlPest, "ml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_answerAndUndoAt200, bayesian, "bayes-robust")->Unit(benchmark::kMillisecond);

// How long the model every interval shares takes to build: once, as the window opens.
void BM_robustModel(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(limenta::RobustBayesModel(limenta::kUsualLapse));
    }
}
BENCHMARK(BM_robustModel)->Unit(benchmark::kMillisecond);

// One Bayesian answer after `range(0)` before it: the posterior's update and its three
// quantiles, the work of one key press.
template <class PosteriorRun, class Model>
void bayesAnswer(benchmark::State& state, double parameter) {
    static const Model model(parameter);
    PosteriorRun run(model, 0.11);
    for (int i = 0; i < state.range(0); ++i) {
        run.answer(run.nextOutput() >= 55 ? 1 : 0);
    }
    for (auto _ : state) {
        state.PauseTiming();
        PosteriorRun next = run;
        state.ResumeTiming();
        benchmark::DoNotOptimize(next.answer(next.nextOutput() >= 55 ? 1 : 0));
    }
}
void BM_bayesAnswer(benchmark::State& state) {
    bayesAnswer<limenta::BayesRun, limenta::BayesModel>(state, 7);
}
BENCHMARK(BM_bayesAnswer)->Arg(0)->Arg(20)->Arg(199)->Unit(benchmark::kMicrosecond);
// The same for the procedure that learns the spread, with the lapse rate it starts with.
void BM_robustBayesAnswer(benchmark::State& state) {
    bayesAnswer<limenta::RobustBayesRun, limenta::RobustBayesModel>(state, 0.04);
}
BENCHMARK(BM_robustBayesAnswer)->Arg(0)->Arg(20)->Arg(199)->Unit(benchmark::kMicrosecond);

// Whole runs of one virtual subject; items are answers, so items/s is answers per second.
void BM_answers(benchmark::State& state, const char* key) {
    using namespace limenta;
    using namespace limenta::cli;
    const limenta::Method& method = *limenta::findMethod(limenta::methods(), key);
    const auto shared = method.share ? method.share(method, {}) : nullptr;
    std::int64_t answers = 0;
    std::uint64_t subject = 0;
    for (auto _ : state) {
        Random random = subjectRandom(1, subject++, 1);
        const SubjectOutcome outcome =
            runSubject(Subject(SubjectModel::Psychometric, 55, {}), method, {}, random, shared);
        answers += outcome.pulses;
    }
    state.SetItemsProcessed(answers);
}
BENCHMARK_CAPTURE(BM_answers, adaptivePest, "pest");
BENCHMARK_CAPTURE(BM_answers, mlPest, "ml");
BENCHMARK_CAPTURE(BM_answers, bayesian, "bayes");
BENCHMARK_CAPTURE(BM_answers, robustBayesian, "bayes-robust");

// The reference population through the window's methods on one thread; items are subjects.
void BM_subjectsPerSecond(benchmark::State& state) {
    using namespace limenta;
    using namespace limenta::cli;
    Population population;
    std::int64_t subjects = 0;
    for (auto _ : state) {
        for (const limenta::Method& method : limenta::methods()) {
            if (method.inWindow) {
                benchmark::DoNotOptimize(runPopulation(population, method, {}, 1, 1));
                subjects += population.subjects;
            }
        }
    }
    state.SetItemsProcessed(subjects);
}
BENCHMARK(BM_subjectsPerSecond)->Unit(benchmark::kMillisecond);

}  // namespace
