#include "gui/journal/run_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <array>
#include <atomic>

#include "core/files/owner_folder.h"

namespace limenta {

namespace {

// SQLite's own result codes, as far as the journal tells them apart.
enum SqliteCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCannotOpen = 14,
    kNotADatabase = 26,
};

// The writer waits no longer than this for another program's lock before it keeps the
// answer aside; a reader a little longer.
constexpr int kWriterWaitMs = 50;
constexpr int kReaderWaitMs = 250;

int codeOf(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xff;  // the primary code of an extended one
}

bool damaged(const QSqlError& error) {
    return codeOf(error) == kNotADatabase || codeOf(error) == kCorrupt;
}

JournalFault faultOf(const QSqlError& error) {
    return codeOf(error) == kBusy || codeOf(error) == kLocked ? JournalFault::Busy
                                                              : JournalFault::Lasting;
}

// What went wrong in Limenta's words, never the driver's.
QString wordsFor(const QSqlError& error) {
    switch (codeOf(error)) {
        case kBusy:
        case kLocked:
            return QStringLiteral("another program is using the journal");
        case kFull:
            return QStringLiteral("the disk is full");
        case kPermission:
        case kReadOnly:
        case kCannotOpen:
            return QStringLiteral("the journal or its folder cannot be written");
        case kIoError:
            return QStringLiteral("the disk reported an error");
        case kCorrupt:
        case kNotADatabase:
            return QStringLiteral("the journal file is damaged");
        default:
            return QStringLiteral("SQLite error %1").arg(error.nativeErrorCode());
    }
}

QString connectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("limenta-journal-%1").arg(next++);
}

QSqlDatabase connect(const QString& path, int waitMs) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(waitMs));
    return db;
}

void disconnect(QSqlDatabase& db) {
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

// The journal holds patient codes: it and its -wal and -shm files are the owner's alone. A
// new journal starts as an empty file of mode 0600, whose mode SQLite gives its other files.
void keepOwnerOnly(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
    for (const char* part : {"", "-wal", "-shm"}) {
        ::chmod((file + part).constData(), 0600);
    }
}

// Reads the file's first page and checks the whole of it; the error when that fails.
std::optional<QSqlError> checkReadable(QSqlDatabase& db) {
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        return check.lastError();
    }
    if (check.next() && check.value(0).toString() != QLatin1String("ok")) {
        return QSqlError(QString(), check.value(0).toString(), QSqlError::StatementError,
                         QString::number(kCorrupt));
    }
    return std::nullopt;
}

// Each step takes a journal of the version before it to the next one.
const std::array<QStringList, RunJournal::kSchemaVersion> kUpgrades{
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
};

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

// A column that must hold text holds an empty one rather than none.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

std::optional<double> optionalDouble(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

}  // namespace

RunJournal::Opened RunJournal::open(const QString& path, Access access) {
    Opened opened;
    const bool writing = access == Access::Write;
    if (!writing && !QFileInfo::exists(path)) {
        opened.fault = JournalFault::Lasting;
        opened.problem = QStringLiteral("there is no journal yet");
        return opened;
    }
    if (writing) {
        keepOwnerOnly(path);
    }
    QSqlDatabase db = connect(path, writing ? kWriterWaitMs : kReaderWaitMs);
    std::optional<QSqlError> error = db.open() ? checkReadable(db) : db.lastError();
    if (writing && error && damaged(*error)) {
        // Never deleted, never overwritten: kept aside under a dated name.
        disconnect(db);
        const QString aside =
            path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(path, aside)) {
            opened.fault = JournalFault::Lasting;
            opened.problem = QStringLiteral("it is damaged and could not be renamed aside");
            return opened;
        }
        opened.damagedAside = aside;
        for (const char* part : {"-wal", "-shm"}) {
            QFile::rename(path + QLatin1String(part), aside + QLatin1String(part));
        }
        keepOwnerOnly(path);
        db = connect(path, kWriterWaitMs);
        error = db.open() ? checkReadable(db) : db.lastError();
    }
    if (error) {
        opened.fault = faultOf(*error);
        opened.problem = wordsFor(*error);
        disconnect(db);
        return opened;
    }
    std::unique_ptr<RunJournal> journal(new RunJournal(db));
    if (writing ? !journal->prepareSchema() : false) {
        opened.fault = journal->lastFault();
        opened.problem = journal->lastProblem();
        return opened;
    }
    if (!writing) {
        QSqlQuery q(journal->db_);
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next() ||
            q.value(0).toInt() != kSchemaVersion) {
            opened.fault = JournalFault::Lasting;
            opened.problem = QStringLiteral("the journal is not of this Limenta's version");
            return opened;
        }
    }
    opened.journal = std::move(journal);
    return opened;
}

QString RunJournal::besidePrefs(const QString& prefsPath) {
    const QString folder = QFileInfo(prefsPath).absolutePath();
    std::string unmade;  // a folder that cannot be made fails the journal's open, which says why
    makeOwnerFolders(QFile::encodeName(folder).toStdString(), unmade);
    return QDir(folder).filePath(QLatin1String(kJournalFileName));
}

RunJournal::RunJournal(QSqlDatabase database) : db_(std::move(database)) {}

RunJournal::~RunJournal() {
    disconnect(db_);
}

QString RunJournal::path() const {
    return db_.databaseName();
}

bool RunJournal::failed(const QSqlError& error) {
    fault_ = faultOf(error);
    problem_ = wordsFor(error);
    return false;
}

bool RunJournal::prepareSchema() {
    QSqlQuery q(db_);
    // Every commit reaches the disk before it returns.
    for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL"}) {
        if (!q.exec(QLatin1String(pragma))) {
            return failed(q.lastError());
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return failed(q.lastError());
    }
    const int version = q.value(0).toInt();
    q.finish();
    if (version > kSchemaVersion) {
        fault_ = JournalFault::Lasting;
        problem_ = QStringLiteral("the journal was written by a newer Limenta");
        return false;
    }
    // Foreign keys hold the answers to their run, once the steps (which rebuild a table
    // the answers refer to) are done.
    const auto holdAnswersToRuns = [&] {
        return q.exec(QStringLiteral("PRAGMA foreign_keys=ON")) || failed(q.lastError());
    };
    if (version == kSchemaVersion) {
        return holdAnswersToRuns();
    }
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failed(q.lastError());
    }
    for (int step = version; step < kSchemaVersion; ++step) {
        QStringList statements = kUpgrades[static_cast<std::size_t>(step)];
        statements << QStringLiteral("PRAGMA user_version=%1").arg(step + 1);
        for (const QString& statement : statements) {
            if (!q.exec(statement)) {
                const QSqlError error = q.lastError();
                q.exec(QStringLiteral("ROLLBACK"));
                return failed(error);
            }
        }
    }
    return (q.exec(QStringLiteral("COMMIT")) || failed(q.lastError())) && holdAnswersToRuns();
}

bool RunJournal::write(const std::vector<JournalWrite>& writes) {
    fault_ = JournalFault::None;
    problem_.clear();
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failed(q.lastError());
    }
    for (const JournalWrite& w : writes) {
        if (!apply(w)) {
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return failed(error);
    }
    return true;
}

bool RunJournal::apply(const JournalWrite& w) {
    const JournalRun& r = w.run;
    QSqlQuery q(db_);
    const auto run = [&](const QString& statement, const QVariantList& values) {
        q.prepare(statement);
        for (const QVariant& value : values) {
            q.addBindValue(value);
        }
        return q.exec() || failed(q.lastError());
    };
    const auto updateRow = [&] {
        return run(
            QStringLiteral("UPDATE runs SET ended = ?, estimate = ?, above_100 = ?, "
                           "interval_low = ?, interval_high = ?, report = ?, percents = ?, "
                           "m1_distance = ?, target_distance = ? WHERE uid = ?"),
            {textOrNull(r.ended), optional(r.estimate), r.aboveMaximum ? 1 : 0,
             optional(r.intervalLow), optional(r.intervalHigh), textOrNull(r.report),
             QStringLiteral("%1,%2,%3").arg(r.percents[0]).arg(r.percents[1]).arg(r.percents[2]),
             r.m1Distance, r.targetDistance, r.uid});
    };
    switch (w.kind) {
        case JournalWrite::Kind::Start:
            // Applied again from a backlog, it changes nothing.
            return run(QStringLiteral("INSERT INTO runs(uid, started, method, settings, practice, "
                                      "true_threshold) VALUES(?, ?, ?, ?, ?, ?) "
                                      "ON CONFLICT(uid) DO NOTHING"),
                       {r.uid, text(r.started), text(r.method), text(r.settings),
                        r.practice ? 1 : 0, optional(r.trueThreshold)});
        case JournalWrite::Kind::Answer: {
            const JournalAnswer& a = w.answer;
            return run(QStringLiteral("INSERT OR REPLACE INTO answers(run_id, seq, trial, fired, "
                                      "answer, next, diff, at) VALUES((SELECT id FROM runs "
                                      "WHERE uid = ?), ?, ?, ?, ?, ?, ?, ?)"),
                       {r.uid, a.seq != 0 ? a.seq : a.trial, a.trial, a.fired, a.answer, a.next,
                        a.diff, a.at}) &&
                   updateRow();
        }
        case JournalWrite::Kind::Update:
            return updateRow();
        case JournalWrite::Kind::Withdraw:
            return run(QStringLiteral("UPDATE answers SET withdrawn_at = ? WHERE seq = ? AND "
                                      "run_id = (SELECT id FROM runs WHERE uid = ?)"),
                       {w.answer.withdrawnAt, w.answer.seq, r.uid}) &&
                   updateRow();
        case JournalWrite::Kind::Note:
            return run(QStringLiteral("UPDATE runs SET note = ? WHERE id = ?"),
                       {w.note, w.noteRun});
    }
    return true;
}

std::vector<JournalRun> RunJournal::runs() const {
    std::vector<JournalRun> all;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral(
            "SELECT id, uid, started, ended, method, settings, estimate, interval_low, "
            "interval_high, report, note, percents, m1_distance, target_distance, "
            "(SELECT COUNT(*) FROM answers WHERE run_id = runs.id AND withdrawn_at IS NULL), "
            "above_100, (SELECT COUNT(*) FROM answers WHERE run_id = runs.id), practice, "
            "true_threshold FROM runs ORDER BY id DESC"))) {
        return all;
    }
    while (q.next()) {
        JournalRun r;
        r.id = q.value(0).toLongLong();
        r.uid = q.value(1).toString();
        r.started = q.value(2).toString();
        r.ended = q.value(3).toString();
        r.method = q.value(4).toString();
        r.settings = q.value(5).toString();
        r.estimate = optionalDouble(q.value(6));
        r.intervalLow = optionalDouble(q.value(7));
        r.intervalHigh = optionalDouble(q.value(8));
        r.report = q.value(9).toString();
        r.note = q.value(10).toString();
        const QStringList percents = q.value(11).toString().split(QLatin1Char(','));
        if (percents.size() == 3) {
            for (std::size_t j = 0; j < 3; ++j) {
                r.percents[j] = percents[static_cast<qsizetype>(j)].toInt();
            }
        }
        r.m1Distance = q.value(12).toString();
        r.targetDistance = q.value(13).toString();
        r.pulses = q.value(14).toInt();
        r.aboveMaximum = q.value(15).toInt() != 0;
        r.fired = q.value(16).toInt();
        r.practice = q.value(17).toInt() != 0;
        r.trueThreshold = optionalDouble(q.value(18));
        all.push_back(r);
    }
    return all;
}

std::vector<JournalAnswer> RunJournal::answers(qint64 run) const {
    std::vector<JournalAnswer> all;
    QSqlQuery q(db_);
    q.prepare(
        QStringLiteral("SELECT trial, fired, answer, next, diff, at, seq, withdrawn_at FROM "
                       "answers WHERE run_id = ? ORDER BY seq"));
    q.addBindValue(run);
    if (!q.exec()) {
        return all;
    }
    while (q.next()) {
        all.push_back({q.value(0).toInt(), q.value(1).toDouble(), q.value(2).toInt(),
                       q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toString(),
                       q.value(6).toInt(), q.value(7).toString()});
    }
    return all;
}

}  // namespace limenta
