// The journal's tests: another program's connection to it, journals of older versions, a lock
// held as another program holds it, and a main window that keeps its runs there.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include "gui/fakes/main_window_fixture.h"
#include "gui/journal/journal_writer.h"
#include "gui/journal/run_journal.h"

namespace limenta::testing {

// Runs statements on a connection of its own, as another program would; the first column
// of every row the last one gives.
inline QStringList column(const QString& path, const QStringList& statements) {
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

inline QStringList column(const QString& path, const QString& statement) {
    return column(path, QStringList{statement});
}

// A journal of an older version, made from its SQL.
inline void makeJournalOfVersion(int version, const QString& path) {
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

inline int modeOf(const QString& path) {
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

// RFC 4180: fields split on commas, quoted fields may hold commas, quotes and line ends.
inline std::vector<QStringList> parseCsv(const QString& text) {
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
}  // namespace limenta::testing
