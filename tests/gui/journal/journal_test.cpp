// The journal of runs: its schema, every answer kept as the window takes it, its failures
// that never stop an assessment, Past Runs and the CSV export.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableWidget>
#include <csignal>

#include "core/procedure/credible_interval.h"
#include "core/trial/answer_step.h"
#include "core/trial/run_start.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/past_runs_window.h"
#include "gui/journal/run_journal.h"
#include "gui/report/output_window.h"

namespace limenta::testing {
namespace {

// The first column of every row a statement gives, read through a connection of its own.
QStringList column(const QString& path, const QString& statement) {
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("journal-test-reader"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
        while (q.next()) {
            values << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journal-test-reader"));
    return values;
}

class Journal : public MainWindowTest {
  protected:
    void TearDown() override {
        window.reset();
        journal.reset();
        MainWindowTest::TearDown();
    }
    [[nodiscard]] QString journalPath() const {
        return dir.filePath(QLatin1String(kJournalFileName));
    }
    Window1& openWithJournal(const std::optional<std::string>& prefs = defaultPrefsText()) {
        Window1& w = open(prefs);
        journal = RunJournal::openBeside(prefsPath(), notice);
        w.setJournal(journal.get(), notice);
        return w;
    }
    [[nodiscard]] QStringList fired() const {
        return column(journalPath(),
                      QStringLiteral("SELECT fired FROM answers ORDER BY run_id, trial"));
    }

    std::unique_ptr<RunJournal> journal;
    QString notice;
};

TEST_F(Journal, ASchemaOfItsOwnVersionInWalMode) {
    openWithJournal();
    ASSERT_TRUE(journal) << notice.toStdString();
    EXPECT_TRUE(notice.isEmpty());
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")), QStringList{"1"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA journal_mode")), QStringList{"wal"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                   "type = 'table' ORDER BY name")),
              (QStringList{"answers", "runs"}));
    // A method the schema does not know is refused by the file itself.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
    db.setDatabaseName(journalPath());
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    EXPECT_FALSE(q.exec(QStringLiteral(
        "INSERT INTO runs(started, method, settings) VALUES('2026', 'bayes', '{}')")));
    // A journal written by a later Limenta (a later version) is left alone.
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version=2")));
    q.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    QString problem;
    QString aside;
    EXPECT_FALSE(RunJournal::open(journalPath(), problem, aside));
    EXPECT_NE(problem.indexOf(QLatin1String("newer")), -1);
    EXPECT_TRUE(aside.isEmpty());
}

TEST_F(Journal, EveryAnswerIsKeptAsTheWindowTakesItForBothMethods) {
    Window1& w = openWithJournal();
    w.PushButton1->click();
    type("yynnyny");
    ASSERT_EQ(w.myrmt, 41.6875);
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
    EXPECT_EQ(fired().size(), 8);
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT ended FROM runs")),
              QStringList{"2026-12-08T09:31:15Z"});

    // Reset, then an ML-PEST run: a second row with its own answers.
    w.PushButton3->click();
    w.CheckBox1->click();
    w.PushButton1->click();
    type("nyny");
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method FROM runs ORDER BY id")),
              (QStringList{"pest", "ml"}));
    EXPECT_EQ(
        column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM answers WHERE run_id = 2")),
        QStringList{"4"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT fired FROM answers WHERE run_id = 2 "
                                                   "AND trial = 1")),
              QStringList{QString::number(w.teststim)});
    // Print/Save stores the report the operator saw.
    w.PushButton4->click();
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report FROM runs WHERE id = 2")),
              QStringList{w.outputWindow()->EditField1->text()});
}

TEST_F(Journal, AnMlPestRunEstimatesEverywhereWithTheSpreadTypedAtStart) {
    // Preferences keep 7; the operator types another spread, which the whole run uses.
    for (const auto& [typed, spread] : {std::pair{"10", 10}, {"7,5", 8}}) {
        SCOPED_TRACE(typed);
        Window1& w = openWithJournal(prefsWith({{kPrefsUseMlPest, "1"}}));
        ASSERT_EQ(w.myspread, 7);
        w.EditField3->setText(QString::fromLatin1(typed));
        w.PushButton1->click();
        Procedure expected;
        expected.clearTrials();
        expected.mydiff2 = w.mydiff2;
        startMlPest(expected, 20, 80, spread);
        EXPECT_EQ(w.curstim, expected.curstim);
        for (const char key : std::string("nynnyyny")) {
            type(std::string(1, key));
            takeAnswer(expected, key == 'y' ? 1 : 0, Method::MlPest, 0);
            ASSERT_EQ(w.curstim, expected.curstim);
        }
        const auto interval = credibleInterval(firedAnswers(expected), spread);
        ASSERT_TRUE(interval && w.runInterval());
        EXPECT_EQ(w.runInterval()->low, interval->low);
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
        w.PushButton4->click();
        EXPECT_NE(w.outputWindow()->EditField1->text().indexOf(
                      QStringLiteral("\rSpread = %1\r").arg(spread)),
                  -1);
        window.reset();
        journal.reset();
        QFile::remove(journalPath());
    }
}

TEST_F(Journal, AProgramKilledAfterThreeAnswersKeepsThem) {
    const QString path = journalPath();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QString problem;
        QString aside;
        auto killed = RunJournal::open(path, problem, aside);
        const auto run = killed->startRun(QStringLiteral("2026-12-08T09:30:15Z"),
                                          Method::AdaptivePest, QStringLiteral("{}"));
        for (int trial = 1; trial <= 3; ++trial) {
            killed->addAnswer(*run, {trial, 50.0 - trial, trial % 2, 40, 7, QStringLiteral("t")});
        }
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(column(path, QStringLiteral("SELECT fired FROM answers ORDER BY trial")),
              (QStringList{"49", "48", "47"}));
}

TEST_F(Journal, AJournalThatCannotBeOpenedLeavesTheAssessmentRunningWithOneMessage) {
    Window1& w = open();
    // Its folder is a file: nothing can be created there.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    journal = RunJournal::openBeside(blocked + QStringLiteral("/PREFS"), notice);
    EXPECT_FALSE(journal);
    w.setJournal(nullptr, notice);
    EXPECT_TRUE(w.notice().startsWith(QLatin1String("Runs are not being kept")));
    w.PushButton1->click();
    type("yyn");
    EXPECT_EQ(w.stepnum, 3);
    fake.dialogs.askAnswer = false;
    w.close();  // asks, and names what is lost
    ASSERT_EQ(fake.dialogs.questions.size(), 1U);
    EXPECT_EQ(fake.dialogs.questions[0],
              "A run is in progress. Quit anyway? Its answers will be lost unless you print or "
              "save the report.");
    EXPECT_TRUE(w.isVisible());  // Cancel
}

TEST_F(Journal, ADamagedFileIsPutAsideUnchangedAndAFreshOneStarted) {
    {
        QFile damaged(journalPath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray("not a journal at all, but last year's runs maybe").repeated(100));
    }
    Window1& w = openWithJournal();
    ASSERT_TRUE(journal) << notice.toStdString();
    EXPECT_TRUE(notice.startsWith(QLatin1String(
        "The run journal was damaged, so a new one was started. The damaged file is kept as ")));
    const QString aside = notice.section(QLatin1Char(' '), -1).chopped(1);
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << aside.toStdString();
    EXPECT_TRUE(kept.readAll().startsWith("not a journal at all"));
    w.PushButton1->click();
    type("y");
    EXPECT_EQ(fired(), QStringList{"50"});
}

TEST_F(Journal, AFullDiskStopsTheJournalNotTheRun) {
    const QString mount = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(mount);
    const QByteArray command = "mount -t tmpfs -o size=256k limenta-test " + mount.toLocal8Bit();
    if (::geteuid() != 0 || std::system((command + " 2>/dev/null").constData()) != 0) {
        GTEST_SKIP() << "no small tmpfs could be mounted (needs root)";
    }
    Window1& w = open();
    journal = RunJournal::openBeside(mount + QStringLiteral("/PREFS"), notice);
    ASSERT_TRUE(journal);
    w.setJournal(journal.get(), notice);
    w.PushButton1->click();
    std::system(
        ("dd if=/dev/zero of=" + mount.toLocal8Bit() + "/filler bs=4k 2>/dev/null").constData());
    type("yynnyny");
    EXPECT_EQ(w.myrmt, 41.6875);  // the run went on
    EXPECT_TRUE(w.notice().startsWith(QLatin1String("The run journal could not be written")))
        << w.notice().toStdString();
    EXPECT_EQ(w.journal(), nullptr);
    window.reset();
    journal.reset();
    std::system(("umount " + mount.toLocal8Bit()).constData());
}

TEST_F(Journal, PastRunsListsReopensAndExports) {
    Window1& w = openWithJournal();
    w.PushButton1->click();
    type("yynnyny");
    w.PushButton3->click();
    fake.clocks.now = fake.clocks.now.addDays(1);
    w.PushButton1->click();
    type("yy");
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
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT note FROM runs WHERE id = 1")),
              QStringList{"P-017, left hand"});

    // The first run has no stored report: it is composed from the journal.
    table->selectRow(1);
    const QString report = w.outputWindow()->EditField1->text();
    EXPECT_NE(report.indexOf(QLatin1String("Resting Motor Threshold = 42")), -1)
        << report.toStdString();
    EXPECT_NE(report.indexOf(QLatin1String("07   042.13   042   1.0   00.4375")), -1);
    EXPECT_NE(report.indexOf(QLatin1String("Starting Value = 50")), -1);

    // Export: the selected run, one row per answer, the note quoted.
    const QString csvPath = dir.filePath(QStringLiteral("runs.csv"));
    fake.dialogs.saveAnswer = csvPath;
    past->exportCsv();
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

// RFC 4180: fields split on commas, quoted fields may hold commas, quotes and line ends.
std::vector<QStringList> parseCsv(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text[i + 1] == QLatin1Char('\n')) {
            row << field;
            field.clear();
            rows.push_back(row);
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

TEST_F(Journal, AThousandRunsComeBackWholeFromTheirCsv) {
    QString problem;
    QString aside;
    journal = RunJournal::open(journalPath(), problem, aside);
    ASSERT_TRUE(journal) << problem.toStdString();
    const QStringList notes{QStringLiteral("P-1, \"left\""), QStringLiteral("two\nlines"),
                            QStringLiteral("plain"), QString()};
    for (int r = 1; r <= 1000; ++r) {
        const auto id =
            journal->startRun(QStringLiteral("2026-12-%1T10:00:00+01:00").arg(r % 28 + 1),
                              r % 2 == 0 ? Method::MlPest : Method::AdaptivePest,
                              QStringLiteral(R"({"initial_output":"5,5"})"));
        ASSERT_TRUE(id);
        ASSERT_TRUE(journal->setNote(*id, notes[r % notes.size()]));
        for (int t = 1; t <= r % 4; ++t) {  // some runs without answers
            ASSERT_TRUE(journal->addAnswer(*id, {t, 40 + t / 3.0, t % 2, 41.0 / t, 7.0 / t,
                                                 QStringLiteral("2026-12-01T10:00:0%1Z").arg(t)}));
        }
    }
    const std::vector<JournalRun> runs = journal->runs();
    const std::vector<QStringList> rows = parseCsv(journalCsv(*journal, runs));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].join(QLatin1Char(',')),
              "run_id,started,ended,method,settings,estimate,interval_low,interval_high,note,"
              "trial,fired,answer,next,diff,at");
    std::size_t at = 1;
    for (const JournalRun& run : runs) {
        const std::vector<JournalAnswer> answers = journal->answers(run.id);
        for (std::size_t a = 0; a < std::max<std::size_t>(answers.size(), 1); ++a) {
            ASSERT_LT(at, rows.size());
            const QStringList& row = rows[at++];
            ASSERT_EQ(row.size(), 15) << row.join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(row[0].toLongLong(), run.id);
            EXPECT_EQ(row[1], run.started);
            EXPECT_EQ(row[3], run.method == Method::MlPest ? "ml" : "pest");
            EXPECT_EQ(row[4], run.settings);
            EXPECT_EQ(row[8], run.note);
            if (answers.empty()) {
                EXPECT_TRUE(row[9].isEmpty());
                continue;
            }
            EXPECT_EQ(row[9].toInt(), answers[a].trial);
            EXPECT_EQ(row[10].toDouble(), answers[a].fired);  // every bit
            EXPECT_EQ(row[11].toInt(), answers[a].answer);
            EXPECT_EQ(row[12].toDouble(), answers[a].next);
            EXPECT_EQ(row[13].toDouble(), answers[a].diff);
            EXPECT_EQ(row[14], answers[a].at);
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
