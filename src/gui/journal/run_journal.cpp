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
#include "gui/journal/journal_fault.h"
#include "gui/journal/journal_schema.h"

namespace limenta {

namespace {

// The writer waits no longer than this for another program's lock before it keeps the
// answer aside; a reader a little longer.
constexpr int kWriterWaitMs = 50;
constexpr int kReaderWaitMs = 250;

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
        return damagedFileError(check.value(0).toString());
    }
    return std::nullopt;
}

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

// A column that must hold text holds an empty one rather than none.
QVariant text(const std::string& value) {
    return value.empty() ? QVariant(QString(QLatin1String("")))
                         : QVariant(QString::fromStdString(value));
}

QVariant textOrNull(const std::string& text) {
    return text.empty() ? QVariant(QMetaType::fromType<QString>())
                        : QVariant(QString::fromStdString(text));
}

std::string textOf(const QVariant& value) {
    return value.toString().toStdString();
}

std::optional<double> optionalDouble(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

// The setup kept in the five columns from `first` on.
Setup setupOf(const QSqlQuery& q, int first) {
    return {hemisphereOf(textOf(q.value(first))), textOf(q.value(first + 1)),
            textOf(q.value(first + 2)), textOf(q.value(first + 3)),
            judgedOf(textOf(q.value(first + 4)))};
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

QStringList RunJournal::damagedCopies(const QString& path) {
    const QFileInfo journal(path);
    QStringList copies;
    for (const QFileInfo& file :
         journal.dir().entryInfoList({journal.fileName() + QStringLiteral(".damaged-*")},
                                     QDir::Files | QDir::Hidden | QDir::System)) {
        copies << file.filePath();
    }
    return copies;
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
    // Every commit reaches the disk before it returns, and what is deleted (an erased
    // patient) is overwritten with zeros, not left in free pages.
    for (const char* pragma :
         {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA secure_delete=ON"}) {
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
        QStringList statements = journalUpgrade(step);
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
             text(r.m1Distance), text(r.targetDistance), text(r.uid)});
    };
    switch (w.kind) {
        case JournalWrite::Kind::Start:
            // Applied again from a backlog, it changes nothing; a code already known, in
            // any case, is that patient.
            return (r.patient.empty() ||
                    run(QStringLiteral("INSERT INTO patients(code, created) VALUES(?, ?) "
                                       "ON CONFLICT DO NOTHING"),
                        {text(r.patient), text(r.started)})) &&
                   run(QStringLiteral(
                           "INSERT INTO runs(uid, started, method, settings, practice, "
                           "true_threshold, patient_id, hemisphere, muscle, coil, stimulator, "
                           "judged) VALUES(?, ?, ?, ?, ?, ?, (SELECT id FROM patients WHERE "
                           "code = ?), ?, ?, ?, ?, ?) ON CONFLICT(uid) DO NOTHING"),
                       {text(r.uid), text(r.started), text(r.method), text(r.settings),
                        r.practice ? 1 : 0, optional(r.trueThreshold), text(r.patient),
                        textOrNull(std::string(hemisphereWord(r.setup.hemisphere))),
                        textOrNull(r.setup.muscle), textOrNull(r.setup.coil),
                        textOrNull(r.setup.stimulator),
                        textOrNull(std::string(judgedWord(r.setup.judged)))});
        case JournalWrite::Kind::Answer: {
            const JournalAnswer& a = w.answer;
            return run(QStringLiteral("INSERT OR REPLACE INTO answers(run_id, seq, trial, fired, "
                                      "answer, next, diff, at) VALUES((SELECT id FROM runs "
                                      "WHERE uid = ?), ?, ?, ?, ?, ?, ?, ?)"),
                       {text(r.uid), a.seq != 0 ? a.seq : a.trial, a.trial, a.fired, a.answer,
                        a.next, a.diff, text(a.at)}) &&
                   updateRow();
        }
        case JournalWrite::Kind::Update:
            return updateRow();
        case JournalWrite::Kind::Withdraw:
            return run(QStringLiteral("UPDATE answers SET withdrawn_at = ? WHERE seq = ? AND "
                                      "run_id = (SELECT id FROM runs WHERE uid = ?)"),
                       {text(w.answer.withdrawnAt), w.answer.seq, text(r.uid)}) &&
                   updateRow();
        case JournalWrite::Kind::Note:
            return run(QStringLiteral("UPDATE runs SET note = ? WHERE id = ?"),
                       {text(w.note), static_cast<qint64>(w.noteRun)});
    }
    return true;
}

std::vector<JournalRun> RunJournal::runs() const {
    std::vector<JournalRun> all;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral(
            "SELECT runs.id, uid, started, ended, method, settings, estimate, interval_low, "
            "interval_high, report, note, percents, m1_distance, target_distance, "
            "(SELECT COUNT(*) FROM answers WHERE run_id = runs.id AND withdrawn_at IS NULL), "
            "above_100, (SELECT COUNT(*) FROM answers WHERE run_id = runs.id), practice, "
            "true_threshold, patients.code, hemisphere, muscle, coil, stimulator, judged "
            "FROM runs LEFT JOIN patients ON patients.id = runs.patient_id "
            "ORDER BY runs.id DESC"))) {
        return all;
    }
    while (q.next()) {
        JournalRun r;
        r.id = q.value(0).toLongLong();
        r.uid = textOf(q.value(1));
        r.started = textOf(q.value(2));
        r.ended = textOf(q.value(3));
        r.method = textOf(q.value(4));
        r.settings = textOf(q.value(5));
        r.estimate = optionalDouble(q.value(6));
        r.intervalLow = optionalDouble(q.value(7));
        r.intervalHigh = optionalDouble(q.value(8));
        r.report = textOf(q.value(9));
        r.note = textOf(q.value(10));
        const QStringList percents = q.value(11).toString().split(QLatin1Char(','));
        if (percents.size() == 3) {
            for (std::size_t j = 0; j < 3; ++j) {
                r.percents[j] = percents[static_cast<qsizetype>(j)].toInt();
            }
        }
        r.m1Distance = textOf(q.value(12));
        r.targetDistance = textOf(q.value(13));
        r.pulses = q.value(14).toInt();
        r.aboveMaximum = q.value(15).toInt() != 0;
        r.fired = q.value(16).toInt();
        r.practice = q.value(17).toInt() != 0;
        r.trueThreshold = optionalDouble(q.value(18));
        r.patient = textOf(q.value(19));
        r.setup = setupOf(q, 20);
        all.push_back(r);
    }
    return all;
}

bool RunJournal::erase(const std::string& code, const std::vector<std::int64_t>& runs) {
    fault_ = JournalFault::None;
    problem_.clear();
    QSqlQuery q(db_);
    const auto run = [&](const QString& statement, const QVariant& value) {
        q.prepare(statement);
        q.addBindValue(value);
        return q.exec() || failed(q.lastError());
    };
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failed(q.lastError());
    }
    bool done = true;
    for (const std::int64_t id : runs) {
        done = done && run(QStringLiteral("DELETE FROM answers WHERE run_id = ?"), qint64{id}) &&
               run(QStringLiteral("DELETE FROM runs WHERE id = ?"), qint64{id});
    }
    // And any run of theirs another Limenta kept since the runs were listed.
    done = done && (code.empty() ||
                    (run(QStringLiteral("DELETE FROM answers WHERE run_id IN (SELECT runs.id FROM "
                                        "runs JOIN patients ON patients.id = runs.patient_id "
                                        "WHERE patients.code = ?)"),
                         text(code)) &&
                     run(QStringLiteral("DELETE FROM runs WHERE patient_id = (SELECT id FROM "
                                        "patients WHERE code = ?)"),
                         text(code)) &&
                     run(QStringLiteral("DELETE FROM patients WHERE code = ?"), text(code))));
    if (!done || !q.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return done ? failed(error) : false;
    }
    return true;
}

bool RunJournal::truncateLog() {
    QSqlQuery q(db_);
    // Its first column is 1 when a reader kept the log from being copied whole.
    if (!q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) || !q.next()) {
        return failed(q.lastError());
    }
    return q.value(0).toInt() == 0 && QFileInfo(path() + QStringLiteral("-wal")).size() == 0;
}

std::vector<KnownPatient> RunJournal::patients() const {
    std::vector<KnownPatient> all;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral(
            "SELECT code, hemisphere, muscle, coil, stimulator, judged FROM patients LEFT JOIN "
            "runs ON runs.id = (SELECT MAX(id) FROM runs WHERE patient_id = patients.id) "
            "ORDER BY patients.id"))) {
        return all;
    }
    while (q.next()) {
        all.push_back({textOf(q.value(0)), setupOf(q, 1)});
    }
    return all;
}

std::vector<JournalAnswer> RunJournal::answers(std::int64_t run) const {
    std::vector<JournalAnswer> all;
    QSqlQuery q(db_);
    q.prepare(
        QStringLiteral("SELECT trial, fired, answer, next, diff, at, seq, withdrawn_at FROM "
                       "answers WHERE run_id = ? ORDER BY seq"));
    q.addBindValue(static_cast<qint64>(run));
    if (!q.exec()) {
        return all;
    }
    while (q.next()) {
        JournalAnswer a;
        a.trial = q.value(0).toInt();
        a.fired = q.value(1).toDouble();
        a.answer = q.value(2).toInt();
        a.next = q.value(3).toDouble();
        a.diff = q.value(4).toDouble();
        a.at = textOf(q.value(5));
        a.seq = q.value(6).toInt();
        a.withdrawnAt = textOf(q.value(7));
        all.push_back(a);
    }
    return all;
}

}  // namespace limenta
