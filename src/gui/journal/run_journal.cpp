#include "gui/journal/run_journal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <atomic>

#include "core/files/owner_folder.h"
#include "gui/widgets/notices.h"

namespace limenta {

namespace {

// SQLite's own codes for a file that is not a database, or a damaged one.
constexpr int kNotADatabase = 26;
constexpr int kCorrupt = 11;

QString connectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("limenta-journal-%1").arg(next++);
}

QSqlDatabase connect(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    return db;
}

void disconnect(QSqlDatabase& db) {
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool damaged(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt();
    return code == kNotADatabase || code == kCorrupt;
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

QString methodKey(Method method) {
    return method == Method::MlPest ? QStringLiteral("ml") : QStringLiteral("pest");
}

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

std::optional<double> optionalDouble(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

}  // namespace

std::unique_ptr<RunJournal> RunJournal::open(const QString& path, QString& problem,
                                             QString& damagedAside) {
    QSqlDatabase db = connect(path);
    std::optional<QSqlError> error;
    if (!db.open()) {
        error = db.lastError();
    } else {
        error = checkReadable(db);
    }
    if (error && damaged(*error)) {
        // Never deleted, never overwritten: kept aside under a dated name.
        disconnect(db);
        damagedAside = path + QStringLiteral(".damaged-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(path, damagedAside)) {
            problem = QStringLiteral("%1 is damaged and could not be renamed aside").arg(path);
            return nullptr;
        }
        for (const char* part : {"-wal", "-shm"}) {
            QFile::rename(path + QLatin1String(part), damagedAside + QLatin1String(part));
        }
        db = connect(path);
        error = db.open() ? checkReadable(db) : std::optional<QSqlError>(db.lastError());
    }
    if (error) {
        problem = error->text();
        disconnect(db);
        return nullptr;
    }
    std::unique_ptr<RunJournal> journal(new RunJournal(db));
    if (!journal->prepareSchema()) {
        problem = journal->lastProblem();
        return nullptr;
    }
    return journal;
}

std::unique_ptr<RunJournal> RunJournal::openBeside(const QString& prefsPath, QString& notice) {
    const QDir folder = QFileInfo(prefsPath).absoluteDir();
    std::string unmade;  // a folder that cannot be made fails the open below, which says why
    makeOwnerFolders(QFile::encodeName(folder.absolutePath()).toStdString(), unmade);
    const QString path = folder.filePath(QLatin1String(kJournalFileName));
    QString problem;
    QString aside;
    std::unique_ptr<RunJournal> journal = open(path, problem, aside);
    if (!journal) {
        notice = QLatin1String(notice::kJournalNotOpened).arg(path, problem);
    } else if (!aside.isEmpty()) {
        notice = QLatin1String(notice::kJournalDamaged).arg(aside);
    }
    return journal;
}

RunJournal::RunJournal(QSqlDatabase database) : db_(std::move(database)) {}

RunJournal::~RunJournal() {
    disconnect(db_);
}

QString RunJournal::path() const {
    return db_.databaseName();
}

bool RunJournal::failed(const QString& what) {
    problem_ = what;
    return false;
}

bool RunJournal::prepareSchema() {
    QSqlQuery q(db_);
    // A killed program loses nothing committed; foreign keys hold the answers to their run.
    for (const char* pragma :
         {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"}) {
        if (!q.exec(QLatin1String(pragma))) {
            return failed(q.lastError().text());
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return failed(q.lastError().text());
    }
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion) {
        return failed(QStringLiteral("the journal was written by a newer Limenta"));
    }
    if (version == kSchemaVersion) {
        return true;
    }
    // Version 0: a new file. Later versions add their upgrades here, step by step.
    const QStringList statements{
        QStringLiteral("CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, "
                       "ended TEXT, method TEXT NOT NULL CHECK(method IN ('pest','ml')), "
                       "settings TEXT NOT NULL, estimate REAL, interval_low REAL, "
                       "interval_high REAL, report TEXT, note TEXT, percents TEXT, "
                       "m1_distance TEXT, target_distance TEXT)"),
        QStringLiteral("CREATE TABLE answers(run_id INTEGER NOT NULL REFERENCES runs(id), "
                       "trial INTEGER NOT NULL, fired REAL NOT NULL, answer INTEGER NOT NULL, "
                       "next REAL NOT NULL, diff REAL NOT NULL, at TEXT NOT NULL, "
                       "PRIMARY KEY(run_id, trial))"),
        QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion)};
    if (!db_.transaction()) {
        return failed(db_.lastError().text());
    }
    for (const QString& statement : statements) {
        if (!q.exec(statement)) {
            const QString why = q.lastError().text();
            db_.rollback();
            return failed(why);
        }
    }
    return db_.commit() || failed(db_.lastError().text());
}

std::optional<qint64> RunJournal::startRun(const QString& started, Method method,
                                           const QString& settings) {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO runs(started, method, settings) VALUES(?, ?, ?)"));
    q.addBindValue(started);
    q.addBindValue(methodKey(method));
    q.addBindValue(settings);
    if (!q.exec()) {
        failed(q.lastError().text());
        return std::nullopt;
    }
    return q.lastInsertId().toLongLong();
}

bool RunJournal::addAnswer(qint64 run, const JournalAnswer& a) {
    QSqlQuery q(db_);
    // One statement, so one transaction of its own.
    q.prepare(
        QStringLiteral("INSERT OR REPLACE INTO answers(run_id, trial, fired, answer, next, "
                       "diff, at) VALUES(?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {QVariant(run), QVariant(a.trial), QVariant(a.fired), QVariant(a.answer), QVariant(a.next),
          QVariant(a.diff), QVariant(a.at)}) {
        q.addBindValue(value);
    }
    return q.exec() || failed(q.lastError().text());
}

bool RunJournal::updateRun(const JournalRun& r) {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral(
        "UPDATE runs SET ended = ?, estimate = ?, interval_low = ?, interval_high = ?, "
        "report = ?, percents = ?, m1_distance = ?, target_distance = ? WHERE id = ?"));
    q.addBindValue(r.ended.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : r.ended);
    q.addBindValue(optional(r.estimate));
    q.addBindValue(optional(r.intervalLow));
    q.addBindValue(optional(r.intervalHigh));
    q.addBindValue(r.report.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : r.report);
    q.addBindValue(
        QStringLiteral("%1,%2,%3").arg(r.percents[0]).arg(r.percents[1]).arg(r.percents[2]));
    q.addBindValue(r.m1Distance);
    q.addBindValue(r.targetDistance);
    q.addBindValue(r.id);
    return q.exec() || failed(q.lastError().text());
}

bool RunJournal::setNote(qint64 run, const QString& note) {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE runs SET note = ? WHERE id = ?"));
    q.addBindValue(note);
    q.addBindValue(run);
    return q.exec() || failed(q.lastError().text());
}

std::vector<JournalRun> RunJournal::runs() const {
    std::vector<JournalRun> all;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral(
            "SELECT id, started, ended, method, settings, estimate, interval_low, "
            "interval_high, report, note, percents, m1_distance, target_distance, "
            "(SELECT COUNT(*) FROM answers WHERE run_id = runs.id) FROM runs ORDER BY id DESC"))) {
        return all;
    }
    while (q.next()) {
        JournalRun r;
        r.id = q.value(0).toLongLong();
        r.started = q.value(1).toString();
        r.ended = q.value(2).toString();
        r.method =
            q.value(3).toString() == QLatin1String("ml") ? Method::MlPest : Method::AdaptivePest;
        r.settings = q.value(4).toString();
        r.estimate = optionalDouble(q.value(5));
        r.intervalLow = optionalDouble(q.value(6));
        r.intervalHigh = optionalDouble(q.value(7));
        r.report = q.value(8).toString();
        r.note = q.value(9).toString();
        const QStringList percents = q.value(10).toString().split(QLatin1Char(','));
        if (percents.size() == 3) {
            for (std::size_t j = 0; j < 3; ++j) {
                r.percents[j] = percents[static_cast<qsizetype>(j)].toInt();
            }
        }
        r.m1Distance = q.value(11).toString();
        r.targetDistance = q.value(12).toString();
        r.pulses = q.value(13).toInt();
        all.push_back(r);
    }
    return all;
}

std::vector<JournalAnswer> RunJournal::answers(qint64 run) const {
    std::vector<JournalAnswer> all;
    QSqlQuery q(db_);
    q.prepare(
        QStringLiteral("SELECT trial, fired, answer, next, diff, at FROM answers "
                       "WHERE run_id = ? ORDER BY trial"));
    q.addBindValue(run);
    if (!q.exec()) {
        return all;
    }
    while (q.next()) {
        all.push_back({q.value(0).toInt(), q.value(1).toDouble(), q.value(2).toInt(),
                       q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toString()});
    }
    return all;
}

}  // namespace limenta
