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
    EXPECT_TRUE(
        w.statusBar()->currentMessage().startsWith(QLatin1String("Runs are not being kept")));
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
    EXPECT_TRUE(notice.startsWith(QLatin1String("The run journal was damaged: it is kept as ")));
    const QString aside = notice.section(QLatin1Char(' '), 9, 9).chopped(1);
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
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(
        QLatin1String("The run journal could not be written")))
        << w.statusBar()->currentMessage().toStdString();
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

}  // namespace
}  // namespace limenta::testing
