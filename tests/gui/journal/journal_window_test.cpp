// The window's runs in the journal: every answer as the window takes it in every method, the
// spread typed at Start, a Bayesian run as limenta-sim replays it, answers taken back.
#include <QTableWidget>
#include <sstream>

#include "cli/replay.h"
#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/journal_fixture.h"
#include "gui/journal/past_runs_window.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

TEST_F(Journal, EveryAnswerIsKeptAsTheWindowTakesItForBothMethods) {
    openWithJournal();
    ui.button("PushButton1")->click();
    type("yynnyny");
    ASSERT_EQ(run().state().myrmt, 41.6875);
    ASSERT_TRUE(settled());
    EXPECT_EQ(fired(), (QStringList{"50", "43", "36", "39.5", "43", "41.25", "42.125"}));
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT estimate FROM runs")),
              QStringList{"41.6875"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method || ended FROM runs")),
              QStringList{"pest2026-12-08T09:30:15Z"});
    const QStringList settings = column(journalPath(), QStringLiteral("SELECT settings FROM runs"));
    EXPECT_EQ(settings, QStringList{R"({"diff_threshold":".45","initial_output":"50","method":)"
                                    R"("pest","step_size":"7"})"});
    // An answer after the end is kept too, and the run's end moves with it.
    fake.clocks.now = fake.clocks.now.addSecs(60);
    type("n");
    ASSERT_TRUE(settled());
    EXPECT_EQ(fired().size(), 8);
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT ended FROM runs")),
              QStringList{"2026-12-08T09:31:15Z"});

    // Reset, then an ML-PEST run: a second row with its own answers.
    ui.button("PushButton3")->click();
    choose("ml");
    ui.button("PushButton1")->click();
    type("nyny");
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method FROM runs ORDER BY id")),
              (QStringList{"pest", "ml"}));
    EXPECT_EQ(
        column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM answers WHERE run_id = 2")),
        QStringList{"4"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT fired FROM answers WHERE run_id = 2 "
                                                   "AND trial = 1")),
              QStringList{QString::number(run().state().teststim)});
    // Print/Save stores the report the operator saw.
    ui.button("PushButton4")->click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report FROM runs WHERE id = 2")),
              QStringList{window->findChild<Window4*>()->EditField1->text()});
}

TEST_F(Journal, AnMlPestRunEstimatesEverywhereWithTheSpreadTypedAtStart) {
    // Preferences keep 7; the operator types another spread, which the whole run uses.
    for (const auto& [typed, spread] : {std::pair{"10", 10}, {"7,5", 8}}) {
        SCOPED_TRACE(typed);
        openWithJournal(prefsWith({{kPrefsUseMlPest, "1"}}));
        ASSERT_EQ(window->console().preferences().whole(kPrefsSpread), 7);
        typeInto("EditField3", QString::fromLatin1(typed));
        ui.button("PushButton1")->click();
        limenta::Run expected(
            *findMethod(methods(), "ml"),
            {{"spread", std::to_string(spread)},
             {"diff", PrefsText(defaultPrefsText()).field(kPrefsMlDiffThreshold)}});
        EXPECT_EQ(run().state().curstim, expected.state().curstim);
        for (const char key : std::string("nynnyynyny")) {
            type(std::string(1, key));
            expected.answer(key == 'y' ? 1 : 0, 0);
            ASSERT_EQ(run().state().curstim, expected.state().curstim);
        }
        ASSERT_TRUE(settled());
        const auto interval = credibleInterval(firedAnswers(expected.trials()), spread);
        ASSERT_TRUE(interval && window->console().run()->interval());
        EXPECT_EQ(window->console().run()->interval()->low, interval->low);
        EXPECT_DOUBLE_EQ(column(journalPath(), QStringLiteral("SELECT interval_low FROM runs"))
                             .value(0)
                             .toDouble(),
                         interval->low);
        EXPECT_DOUBLE_EQ(column(journalPath(), QStringLiteral("SELECT interval_high FROM runs"))
                             .value(0)
                             .toDouble(),
                         interval->high);
        EXPECT_NE(column(journalPath(), QStringLiteral("SELECT settings FROM runs"))[0].indexOf(
                      QStringLiteral("\"spread\":\"%1\"").arg(spread)),
                  -1);
        ui.button("PushButton4")->click();
        ASSERT_TRUE(settled());
        EXPECT_NE(window->findChild<Window4*>()->EditField1->text().indexOf(
                      QStringLiteral("\rSpread = %1\r").arg(spread)),
                  -1);
        writer.reset();
        window.reset();
        QFile::remove(journalPath());
    }
}

// The Bayesian procedure in the window: each next output, the end and the interval as
// limenta-sim replay gives them for the same answers, answers after the end, the report, the
// journal and the CSV; and a run that ends above what the stimulator gives.
TEST_F(Journal, ABayesianRunOnScreenIsTheRunLimentaSimReplays) {
    openWithJournal();
    choose("bayes");
    ui.button("PushButton1")->click();
    EXPECT_EQ(big(), "51");
    const std::string answers = "nyynynyynyyny";
    std::string digits = answers;
    std::replace(digits.begin(), digits.end(), 'y', '1');
    std::replace(digits.begin(), digits.end(), 'n', '0');
    std::ostringstream replayed;
    std::ostringstream ignored;
    ASSERT_EQ(
        cli::replayCommand({"--method", "bayes", "--answers", digits, "--json"}, replayed, ignored),
        0);
    const std::string json = replayed.str();
    std::size_t at = 0;
    double next = 0;  // the posterior's median after each answer
    for (const char key : answers) {
        type(std::string(1, key));
        at = json.find(R"("next":)", at) + 7;
        next = std::stod(json.substr(at));
        const bool reached = json.compare(json.find(R"("reached":)", at) + 10, 4, "true") == 0;
        EXPECT_EQ(big(), reached && window->console().run()->aboveMaximum()
                             ? "100+"
                             : QString::number(nearestWhole(next)));
        EXPECT_EQ(textColour(ui.label("StaticText4")), reached ? kDesignGreen : kDesignBlack);
    }
    ASSERT_TRUE(window->console().run()->reached());
    const std::size_t interval = json.find(R"("interval":{"low":)");
    const CredibleInterval last{std::stod(json.substr(interval + 18)), next,
                                std::stod(json.substr(json.find(R"("high":)", interval) + 7))};
    EXPECT_EQ(ui.label("StaticText20")->text().toStdString(),
              intervalLine(last, run().state().stepnum));
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 1);
    EXPECT_NE(ui.label("StaticText7")->text(), "");  // the quick reference of the estimate
    // The history: the whole percent fired, and the interval's width as the difference.
    EXPECT_TRUE(history().startsWith(
        QStringLiteral("13   0%1.00   0%1   1.0   ")
            .arg(nearestWhole(window->console().run()->trials().back().fired))));
    // An answer after the end is taken as any other.
    type("y");
    EXPECT_EQ(run().state().stepnum, 14);

    ui.button("PushButton4")->click();
    const QString report = window->findChild<Window4*>()->EditField1->text();
    EXPECT_NE(report.indexOf(QLatin1String("\rMethod: Bayesian\rSpread = 7\rWidth = .11\r\r")), -1)
        << report.toStdString();
    EXPECT_NE(report.indexOf(QLatin1String("\r95% Interval = ")), -1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method || ' ' || settings FROM runs")),
              QStringList{R"(bayes {"method":"bayes","spread":"7","width":".11"})"});
    EXPECT_EQ(fired().size(), 14);

    // No MEP at any output: the posterior piles up against 100, and the run ends above it.
    ui.button("PushButton3")->click();
    ui.button("PushButton1")->click();
    for (int k = 0; k < 10 && !window->console().run()->reached(); ++k) {
        type("n");
    }
    ASSERT_TRUE(window->console().run()->aboveMaximum());
    EXPECT_EQ(big(), "100+");
    EXPECT_EQ(textColour(ui.label("StaticText4")), kDesignRed);
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    for (const QLabel* value :
         {ui.label("StaticText7"), ui.label("StaticText8"), ui.label("StaticText9"),
          ui.label("StaticText13"), ui.label("StaticText14"), ui.label("StaticText15")}) {
        EXPECT_EQ(value->text(), "--");
    }
    ui.button("PushButton4")->click();
    const QString above = window->findChild<Window4*>()->EditField1->text();
    EXPECT_NE(above.indexOf(QLatin1String("\rResting Motor Threshold = above 100\r")), -1);
    EXPECT_NE(above.indexOf(QLatin1String("\r80% = --\r")), -1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT ifnull(estimate, 'none') || ' ' || "
                                                   "above_100 FROM runs WHERE id = 2")),
              QStringList{"none 1"});
    const std::vector<QStringList> rows = parseCsv(
        journalCsv(*RunJournal::open(journalPath(), RunJournal::Access::Read).journal,
                   RunJournal::open(journalPath(), RunJournal::Access::Read).journal->runs()));
    ASSERT_GT(rows.size(), 1U);
    EXPECT_EQ(rows[1][15], "1");  // the newest run first
    EXPECT_EQ(rows[1][5], "");
}

// An answer taken back stays in the journal, marked with the time it was taken back; the
// answer given again is a row of its own; the run's end and estimate follow both ways.
TEST_F(Journal, AnAnswerTakenBackIsKeptMarkedAndTheRunsEndFollowsIt) {
    Window1& w = openWithJournal();
    const auto later = [this] { fake.clocks.now = fake.clocks.now.addSecs(60); };
    const auto answers = [this] {
        return column(journalPath(), QStringLiteral("SELECT seq || ' ' || trial || ' ' || "
                                                    "IFNULL(withdrawn_at, '-') FROM answers "
                                                    "ORDER BY seq"));
    };
    const auto end = [this] {
        return column(journalPath(),
                      QStringLiteral("SELECT IFNULL(estimate, '-') || ' ' || IFNULL(ended, '-') "
                                     "FROM runs"));
    };
    ui.button("PushButton1")->click();
    type("yynnyny");  // the end, at 09:30:15
    later();
    w.undoLastAnswer();
    w.undoLastAnswer();  // the one before it
    ASSERT_TRUE(settled());
    EXPECT_EQ(answers().mid(5),
              (QStringList{"6 6 2026-12-08T09:31:15Z", "7 7 2026-12-08T09:31:15Z"}));
    EXPECT_EQ(end(), QStringList{"- -"});
    later();
    type("ny");  // the end again, at 09:32:15
    later();
    type("y");  // after it, at 09:33:15
    ASSERT_TRUE(settled());
    EXPECT_EQ(end(), QStringList{"41.25 2026-12-08T09:33:15Z"});
    w.undoLastAnswer();
    ASSERT_TRUE(settled());
    EXPECT_EQ(end(), QStringList{"41.6875 2026-12-08T09:32:15Z"});
    EXPECT_EQ(answers().mid(7), (QStringList{"8 6 -", "9 7 -", "10 8 2026-12-08T09:33:15Z"}));

    // Past Runs counts the answers kept and the pulses fired; its report and the window's
    // say how many answers were taken back, and neither lists them.
    ui.button("PushButton4")->click();
    const QString shownReport = window->findChild<Window4*>()->EditField1->text();
    EXPECT_NE(shownReport.indexOf(QLatin1String("\rAnswers withdrawn = 3\r")), -1);
    ui.button("PushButton3")->click();
    w.showPastRuns();
    auto* past = w.findChild<PastRunsWindow*>();
    ASSERT_NE(past, nullptr);
    EXPECT_EQ(past->table->item(0, PastRunsWindow::kPulses)->text(), "7 (10 fired)");
    const RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Read);
    ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
    const JournalRun run = opened.journal->runs().front();
    const QString composed = reportFromJournal(run, opened.journal->answers(run.id));
    EXPECT_NE(composed.indexOf(QLatin1String("\rAnswers withdrawn = 3\r")), -1);
    EXPECT_EQ(composed.section(QLatin1String("HISTORY:"), 1), shownReport.section("HISTORY:", 1));

    // The CSV keeps every answer, with the time each taken back was.
    const QString csvPath = dir.filePath(QStringLiteral("undo.csv"));
    fake.dialogs.saveAnswer = csvPath;
    past->table->selectRow(0);
    past->exportCsv();
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_EQ(lines.size(), 12);  // header, 10 answers, the empty end
    EXPECT_TRUE(lines[6].endsWith(",0,2026-12-08T09:31:15Z,0,\r")) << lines[6].toStdString();
    EXPECT_TRUE(lines[8].endsWith(",0,,0,\r")) << lines[8].toStdString();
}

}  // namespace
}  // namespace limenta::testing
