#include "gui/journal/journal_schema.h"

#include <array>

namespace limenta {

namespace {

// Each step takes a journal of the version before it to the next one.
const std::array<QStringList, kJournalVersion> kUpgrades{
    // 0 to 1: a new file.
    QStringList{
        QStringLiteral("CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, "
                       "ended TEXT, method TEXT NOT NULL CHECK(method IN ('pest','ml')), "
                       "settings TEXT NOT NULL, estimate REAL, interval_low REAL, "
                       "interval_high REAL, report TEXT, note TEXT, percents TEXT, "
                       "m1_distance TEXT, target_distance TEXT)"),
        QStringLiteral("CREATE TABLE answers(run_id INTEGER NOT NULL REFERENCES runs(id), "
                       "trial INTEGER NOT NULL, fired REAL NOT NULL, answer INTEGER NOT NULL, "
                       "next REAL NOT NULL, diff REAL NOT NULL, at TEXT NOT NULL, "
                       "PRIMARY KEY(run_id, trial))")},
    // 1 to 2: each run's own name, so a write kept aside while the journal was busy finds
    // its run, and is never applied twice.
    QStringList{QStringLiteral("ALTER TABLE runs ADD COLUMN uid TEXT"),
                QStringLiteral("CREATE UNIQUE INDEX runs_by_uid ON runs(uid)")},
    // 2 to 3: no list of methods in the file, which the table of methods knows; a method
    // stored by a later Limenta is kept and shown as unknown.
    QStringList{
        QStringLiteral("CREATE TABLE runs_v3(id INTEGER PRIMARY KEY, started TEXT NOT NULL, "
                       "ended TEXT, method TEXT NOT NULL, settings TEXT NOT NULL, estimate REAL, "
                       "interval_low REAL, interval_high REAL, report TEXT, note TEXT, "
                       "percents TEXT, m1_distance TEXT, target_distance TEXT, uid TEXT)"),
        QStringLiteral("INSERT INTO runs_v3 SELECT id, started, ended, method, settings, "
                       "estimate, interval_low, interval_high, report, note, percents, "
                       "m1_distance, target_distance, uid FROM runs"),
        QStringLiteral("DROP TABLE runs"), QStringLiteral("ALTER TABLE runs_v3 RENAME TO runs"),
        QStringLiteral("CREATE UNIQUE INDEX runs_by_uid ON runs(uid)")},
    // 3 to 4: a run that ended above what the stimulator gives, which has no estimate.
    QStringList{QStringLiteral("ALTER TABLE runs ADD COLUMN above_100 INTEGER NOT NULL DEFAULT 0")},
    // 4 to 5: an answer taken back is kept, marked with the time it was, and the answer
    // given after it for the same trial is a row of its own: answers are numbered by their
    // place among all of the run's (seq), those taken back too.
    QStringList{
        QStringLiteral("CREATE TABLE answers_v5(id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL "
                       "REFERENCES runs(id), seq INTEGER NOT NULL, trial INTEGER NOT NULL, "
                       "fired REAL NOT NULL, answer INTEGER NOT NULL, next REAL NOT NULL, "
                       "diff REAL NOT NULL, at TEXT NOT NULL, withdrawn_at TEXT, "
                       "UNIQUE(run_id, seq))"),
        QStringLiteral("INSERT INTO answers_v5(run_id, seq, trial, fired, answer, next, diff, at) "
                       "SELECT run_id, trial, trial, fired, answer, next, diff, at FROM answers "
                       "ORDER BY run_id, trial"),
        QStringLiteral("DROP TABLE answers"),
        QStringLiteral("ALTER TABLE answers_v5 RENAME TO answers")},
    // 5 to 6: a practice run on a virtual patient, kept apart from the patients' runs, with
    // the threshold it hid.
    QStringList{QStringLiteral("ALTER TABLE runs ADD COLUMN practice INTEGER NOT NULL DEFAULT 0"),
                QStringLiteral("ALTER TABLE runs ADD COLUMN true_threshold REAL")},
    // 6 to 7: patients, known by their code whatever its case, and each run's patient and
    // how it was measured (older runs belong to no patient).
    QStringList{
        QStringLiteral("CREATE TABLE patients(id INTEGER PRIMARY KEY, "
                       "code TEXT NOT NULL UNIQUE COLLATE NOCASE, created TEXT NOT NULL)"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN patient_id INTEGER REFERENCES patients(id)"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN hemisphere TEXT"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN muscle TEXT"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN coil TEXT"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN stimulator TEXT"),
        QStringLiteral("ALTER TABLE runs ADD COLUMN judged TEXT"),
        QStringLiteral("CREATE INDEX runs_by_patient ON runs(patient_id)")},
};

}  // namespace

QStringList journalUpgrade(int version) {
    return version >= 0 && version < kJournalVersion ? kUpgrades[static_cast<std::size_t>(version)]
                                                     : QStringList();
}

}  // namespace limenta
