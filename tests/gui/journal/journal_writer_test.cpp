// The journal's writer: a program killed loses nothing it showed, a busy journal holds no key
// and loses nothing, and a journal that cannot be opened, a damaged one or a full disk never
// stop an assessment.
#include <QProcess>
#include <QtTest/QTest>

#include "core/console/notices.h"
#include "gui/journal/journal_fixture.h"

namespace limenta::testing {
namespace {

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
        openWithJournal(c.prefs);
        if (!c.atStartUp) {
            ASSERT_TRUE(settled());
            lock.emplace(journalPath());
        }
        // A new patient made while the journal is busy waits with their run.
        ui.field("PatientField")->setFocus();
        QTest::keyClicks(ui.field("PatientField"), QStringLiteral("P-77"));
        ui.button("PushButton1")->click();
        EXPECT_EQ(window->console().view().notice, "New patient P-77");
        EXPECT_EQ(writer->patient("p-77")->code, "P-77");  // known before it is written
        qint64 longest = 0;
        for (const char key : std::string(c.keys)) {
            QElapsedTimer held;
            held.start();
            type(std::string(1, key));
            longest = std::max(longest, held.elapsed());
        }
        EXPECT_LT(longest, 50) << "ms for the slowest key";
        ui.button("PushButton4")->click();  // a report, while the journal is still busy
        pass(300);
        EXPECT_EQ(QString::fromStdString(window->console().view().notice), notice::kJournalWaiting);
        EXPECT_FALSE(writer->idle());

        lock.reset();
        ASSERT_TRUE(settled());
        EXPECT_EQ(QString::fromStdString(window->console().view().notice), notice::kJournalWritten);
        const QString latest = QStringLiteral(" FROM runs ORDER BY id DESC LIMIT 1");
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT (SELECT COUNT(*) FROM answers "
                                                       "WHERE run_id = runs.id)") +
                                            latest),
                  QStringList{QString::number(run().state().stepnum)});
        EXPECT_EQ(
            column(journalPath(), QStringLiteral("SELECT estimate") + latest).value(0).toDouble(),
            run().state().myrmt);
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT report") + latest),
                  QStringList{window->findChild<Window4*>()->EditField1->text()});
        EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")),
                  QStringList{QString::number(RunJournal::kSchemaVersion)});
        EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT patients.code FROM runs JOIN "
                                                       "patients ON patients.id = patient_id") +
                                            QStringLiteral(" ORDER BY runs.id DESC LIMIT 1")),
                  QStringList{"P-77"});
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
    EXPECT_TRUE(QString::fromStdString(window->console().view().notice)
                    .startsWith(QLatin1String(
                        "Runs are not being kept: print or save each report. The journal ")))
        << QString::fromStdString(window->console().view().notice).toStdString();
    EXPECT_EQ(notices.size(), 1);
    ui.button("PushButton1")->click();
    type("yyn");
    EXPECT_EQ(run().state().stepnum, 3);
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
    openWithJournal();
    ASSERT_TRUE(settled());
    ASSERT_EQ(notices.size(), 1);
    const QString told = notices[0];
    EXPECT_TRUE(told.startsWith(QLatin1String(
        "The run journal was damaged, so a new one was started. The damaged file is kept as ")));
    const QString aside = told.section(QLatin1Char(' '), -1).chopped(1);
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << aside.toStdString();
    EXPECT_TRUE(kept.readAll().startsWith("not a journal at all"));
    ui.button("PushButton1")->click();
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
    open();
    startWriter(RunJournal::besidePrefs(mount + QStringLiteral("/PREFS")));
    ASSERT_TRUE(settled());
    ui.button("PushButton1")->click();
    ASSERT_TRUE(settled());
    std::system(
        ("dd if=/dev/zero of=" + mount.toLocal8Bit() + "/filler bs=4k 2>/dev/null").constData());
    type("yynnyny");
    EXPECT_EQ(run().state().myrmt, 41.6875);  // the run went on
    settled();
    EXPECT_TRUE(writer->ended());
    EXPECT_TRUE(QString::fromStdString(window->console().view().notice)
                    .startsWith(QLatin1String("The run journal could not be written: print or save "
                                              "the report to keep this run.")))
        << QString::fromStdString(window->console().view().notice).toStdString();
    writer.reset();
    window.reset();
    std::system(("umount " + mount.toLocal8Bit()).constData());
}

}  // namespace
}  // namespace limenta::testing
