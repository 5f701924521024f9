// The window's runs in the journal: every method's answers, end, settings and report as the
// window takes them, a run that ends above 100, and answers taken back with Past Runs' count
// and the CSV. What the console hands the journal is tested with the console.
#include <QTableWidget>

#include "gui/journal/journal_export.h"
#include "gui/journal/journal_fixture.h"
#include "gui/journal/past_runs_window.h"

namespace limenta::testing {
namespace {

TEST_F(Journal, EveryMethodsRunReachesTheJournalAsTheWindowTakesIt) {
    openWithJournal();
    const std::vector<std::pair<std::string, std::string>> runs{
        {"pest", "yynnyny"}, {"ml", "nynnyynyny"}, {"bayes-robust", "nyynynyynyyny"}};
    int id = 0;
    for (const auto& [method, keys] : runs) {
        SCOPED_TRACE(method);
        click("PushButton3");
        choose(method.c_str());
        if (method == "ml") {
            typeInto("EditField3", QStringLiteral("7,5"));  // the spread typed, not the stored
        }
        click("PushButton1");
        type(keys);
        type("y");  // an answer after the end is kept too
        const QString shown = report();
        ASSERT_TRUE(settled());
        const QString row = QStringLiteral(" FROM runs WHERE id = %1").arg(++id);
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method") + row),
                  QStringList{QString::fromStdString(method)});
        EXPECT_EQ(
            column(journalPath(), QStringLiteral("SELECT settings") + row).value(0).toStdString(),
            journalSettings(run()));
        QStringList fired;
        for (const TrialRecord& t : run().trials()) {
            fired << QVariant(t.fired).toString();  // as the column is read
        }
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT fired FROM answers WHERE run_id = "
                                                       "%1 ORDER BY seq")
                                            .arg(id)),
                  fired);
        EXPECT_EQ(
            column(journalPath(), QStringLiteral("SELECT estimate") + row).value(0).toDouble(),
            run().estimate().value_or(0));
        EXPECT_DOUBLE_EQ(
            column(journalPath(), QStringLiteral("SELECT interval_low") + row).value(0).toDouble(),
            run().interval()->low);
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT ifnull(ended, '-')") + row),
                  QStringList{run().estimate() ? QStringLiteral("2026-12-08T09:30:15Z")
                                               : QStringLiteral("-")});
        // Print/Save stores the report the operator saw.
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report") + row), QStringList{shown});
    }
    // No MEP at any output: the Bayesian run ends above 100, with no estimate.
    click("PushButton3");
    click("PushButton1");
    for (int k = 0; k < 10 && !run().reached(); ++k) {
        type("n");
    }
    ASSERT_TRUE(run().aboveMaximum());
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT ifnull(estimate, 'none') || ' ' || "
                                                   "above_100 FROM runs WHERE id = 4")),
              QStringList{"none 1"});
    const RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Read);
    const std::vector<QStringList> rows =
        parseCsv(journalCsv(*opened.journal, opened.journal->runs()));
    ASSERT_GT(rows.size(), 1U);
    EXPECT_EQ(rows[1][15], "1");  // the newest run first
    EXPECT_EQ(rows[1][5], "");
}

// An answer taken back stays in the journal, marked with the time it was taken back, and the
// answer given again is a row of its own; Past Runs counts the answers kept and the pulses
// fired, and the CSV keeps every answer.
TEST_F(Journal, AnAnswerTakenBackIsKeptMarkedInTheJournalPastRunsAndTheCsv) {
    Window1& w = openWithJournal();
    const auto later = [this] { fake.clocks.now = fake.clocks.now.addSecs(60); };
    click("PushButton1");
    type("yynnyny");  // the end, at 09:30:15
    later();
    w.undoLastAnswer();
    w.undoLastAnswer();  // the one before it
    later();
    type("nyy");
    w.undoLastAnswer();
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT seq || ' ' || trial || ' ' || "
                                                   "IFNULL(withdrawn_at, '-') FROM answers "
                                                   "ORDER BY seq"))
                  .mid(5),
              (QStringList{"6 6 2026-12-08T09:31:15Z", "7 7 2026-12-08T09:31:15Z", "8 6 -", "9 7 -",
                           "10 8 2026-12-08T09:32:15Z"}));

    // The report composed from the journal tells as the window's did.
    const QString shownReport = report();
    click("PushButton3");
    w.showPastRuns();
    auto* past = w.findChild<PastRunsWindow*>();
    ASSERT_NE(past, nullptr);
    EXPECT_EQ(past->table->item(0, PastRunsWindow::kPulses)->text(), "7 (10 fired)");
    const RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Read);
    ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
    const JournalRun kept = opened.journal->runs().front();
    const QString composed = reportFromJournal(kept, opened.journal->answers(kept.id));
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
    // A run of no patient: the patient's and the setup's columns empty.
    EXPECT_TRUE(lines[6].endsWith(",0,2026-12-08T09:31:15Z,0,,,,,,,\r")) << lines[6].toStdString();
    EXPECT_TRUE(lines[8].endsWith(",0,,0,,,,,,,\r")) << lines[8].toStdString();
}

}  // namespace
}  // namespace limenta::testing
