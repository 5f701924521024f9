// The time from an answer key to the repainted window, the half-second wait left out: the
// 200th answer of a run, whose plot is the fullest.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "core/prefs/prefs_format.h"
#include "gui/app/assets.h"
#include "gui/fakes/fake_platform.h"
#include "gui/journal/run_journal.h"
#include "gui/main_window/window1.h"
#include "gui/prefs/prefs_store.h"
#include "gui/widgets/cr_text_edit.h"

namespace {

void BM_answerToRepaintedWindow(benchmark::State& state, const char* method) {
    limenta::testing::FakePlatform fake;
    QTemporaryDir dir;
    limenta::PrefsStore prefs(dir.filePath(QStringLiteral("PREFS")));
    prefs.write(limenta::defaultPrefsText());
    limenta::Window1 window(fake.platform, prefs);
    window.Event_Open();
    window.show();
    auto* methods = window.findChild<QComboBox*>(QStringLiteral("PopupMenu4"));
    const int offered = methods->findData(QString::fromLatin1(method));
    methods->setCurrentIndex(offered);
    emit methods->activated(offered);
    auto* start = window.findChild<QPushButton*>(QStringLiteral("PushButton1"));
    auto* reset = window.findChild<QPushButton*>(QStringLiteral("PushButton3"));
    const auto answer = [&](std::int32_t key) {
        window.Canvas1_KeyDown(key);
        fake.clocks.tick += limenta::kAnswerWaitTicks + 1;
    };
    for (auto _ : state) {
        // A run of 199 answers, going on after the estimate; then its 200th is measured.
        state.PauseTiming();
        reset->click();
        start->click();
        for (int i = 1; i < limenta::kLastTrial; ++i) {
            answer(i % 3 == 0 ? 'n' : 'y');
        }
        state.ResumeTiming();
        answer('y');  // the answer, the displays, the interval, the plot
        window.repaint();
    }
}
BENCHMARK_CAPTURE(BM_answerToRepaintedWindow, adaptivePest, "pest")
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_answerToRepaintedWindow, mlPest, "ml")
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_answerToRepaintedWindow, bayesian, "bayes")
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// What the journal's writer spends on one answer: the answer's row and the run's row in one
// transaction, synced to the disk, on the disk of the build folder (LIMENTA_JOURNAL_DIR
// chooses another). Reports the median and the 99th percentile of 2000 answers in
// milliseconds as counters. The window hands this to the writer's thread and never waits.
void BM_journalOneAnswer(benchmark::State& state) {
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsEmpty("LIMENTA_JOURNAL_DIR")
                               ? scratch.path()
                               : qEnvironmentVariable("LIMENTA_JOURNAL_DIR");
    limenta::RunJournal::Opened opened = limenta::RunJournal::open(
        limenta::RunJournal::besidePrefs(folder + QStringLiteral("/PREFS")),
        limenta::RunJournal::Access::Write);
    if (!opened.journal) {
        state.SkipWithError(opened.problem.toStdString().c_str());
        return;
    }
    limenta::JournalRun run;
    run.uid = "bench";
    run.started = "2026-12-09T10:00:00Z";
    opened.journal->write({limenta::JournalWrite::start(run)});
    std::vector<double> ms;
    int trial = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        run.estimate = 41.6875;
        ++trial;
        opened.journal->write(
            {limenta::JournalWrite::taken(run, {{trial, 50, trial % 2, 43, 7}, "now"})});
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
}
BENCHMARK(BM_journalOneAnswer)->Iterations(2000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    limenta::initAssets();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
