// The journal's file: its schema and its owner, upgrades from every older version step by
// step, a later version left alone, and every method kept under its key.
#include <set>

#include "core/console/notices.h"
#include "core/run/fixed_sequence_method.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/journal_fixture.h"

namespace limenta::testing {
namespace {

TEST_F(Journal, ASchemaOfItsOwnVersionInWalModeReadableByItsOwnerOnly) {
    openWithJournal();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(notices.isEmpty());
    const QString current = QString::number(RunJournal::kSchemaVersion);
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA user_version")), QStringList{current});
    EXPECT_EQ(column(journalPath(), QStringLiteral("PRAGMA journal_mode")), QStringList{"wal"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                   "type = 'table' ORDER BY name")),
              (QStringList{"answers", "patients", "runs"}));
    ui.button("PushButton1")->click();
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
    EXPECT_EQ(QString::fromStdString(window->console().view().notice),
              QLatin1String(notice::kJournalNotOpened)
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
            EXPECT_TRUE(answers[i].withdrawnAt.empty());
        }
        EXPECT_EQ(runs[0].pulses, 2);
        EXPECT_EQ(runs[0].fired, 2);
        EXPECT_FALSE(runs[0].practice);  // every older run was a patient's
        EXPECT_FALSE(runs[0].trueThreshold);
        EXPECT_EQ(runs[0].patient, "");  // but whose is said only in its note
        EXPECT_EQ(runs[0].setup, limenta::Setup{});
        EXPECT_TRUE(opened.journal->patients().empty());
        JournalRun later;
        later.uid = "later";
        later.started = "2026-12-09T10:00:00Z";
        later.settings = "{}";
        later.method = "pest";
        later.practice = true;
        later.trueThreshold = 47.25;
        JournalRun patients = later;
        patients.uid = "patient's";
        patients.practice = false;
        patients.trueThreshold.reset();
        patients.patient = "P-003";
        patients.setup = {Hemisphere::Left, "APB", "", "", Judged::Emg};
        EXPECT_TRUE(
            opened.journal->write({JournalWrite::start(later), JournalWrite::start(patients)}));
        const std::vector<JournalRun> now = opened.journal->runs();
        ASSERT_EQ(now.size(), 3U);
        EXPECT_TRUE(now[1].practice);
        EXPECT_EQ(now[1].trueThreshold, 47.25);
        EXPECT_EQ(now[0].patient, "P-003");
        EXPECT_EQ(now[0].setup, patients.setup);
        ASSERT_EQ(opened.journal->patients().size(), 1U);
    }
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
        row.uid = m.key;
        row.method = m.key;
        row.started = "2026-12-09T10:00:00Z";
        row.settings = "{}";
        std::vector<JournalWrite> writes{JournalWrite::start(row)};
        for (int k = 0; k < 4 && !run.reached(); ++k) {
            run.answer(k % 2, 0);
            const TrialRecord& t = run.trials().back();
            writes.push_back(
                JournalWrite::taken(row, {{t.trial, t.fired, t.answer, t.next, t.diff}, "t"}));
        }
        ASSERT_TRUE(opened.journal->write(writes)) << opened.journal->lastProblem().toStdString();
    }
    const std::vector<JournalRun> runs = opened.journal->runs();
    ASSERT_EQ(runs.size(), withFixedSequence().size());
    for (const JournalRun& run : runs) {
        const Method* known = findMethod(methods(), run.method);
        EXPECT_EQ(run.pulses, static_cast<int>(opened.journal->answers(run.id).size()));
        EXPECT_EQ(methodName(run.method),
                  known != nullptr ? std::string(known->name) : "unknown (" + run.method + ")");
        const QString report = reportFromJournal(run, opened.journal->answers(run.id));
        EXPECT_NE(report.toStdString().find(
                      "\rMethod: " +
                      (known != nullptr ? std::string(known->reportName) : methodName(run.method)) +
                      "\r"),
                  std::string::npos)
            << run.method;
        // Today's Bayesian method and the one of a fixed spread the window ran before, each
        // under its own name.
        if (run.method == "bayes" || run.method == "bayes-robust") {
            EXPECT_NE(report.toStdString().find(run.method == "bayes"
                                                    ? "\rMethod: Bayesian, fixed spread\r"
                                                    : "\rMethod: Bayesian\r"),
                      std::string::npos);
        }
    }
    EXPECT_EQ(methodName("bayes"), "Bayesian, fixed spread");
    EXPECT_EQ(methodName("bayes-robust"), "Bayesian");
    const std::vector<QStringList> rows = parseCsv(journalCsv(*opened.journal, runs));
    std::set<QString> keys;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        keys.insert(rows[r][3]);
    }
    EXPECT_EQ(keys.size(), withFixedSequence().size());
    EXPECT_EQ(keys.count(QStringLiteral("fixed")), 1U);
}

}  // namespace
}  // namespace limenta::testing
