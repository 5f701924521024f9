// Every run kept: the journal of runs and their answers in an SQLite file beside PREFS,
// readable by its owner only. This is one connection to it, used by one thread: the
// journal's writer (journal_writer.h) on a thread of its own, or a reader such as Past Runs.
// Each write is one transaction, synced to the disk before it returns (synchronous=FULL),
// so a crash, a kill or a power cut loses nothing that was written.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "core/journal/journal_record.h"
#include "core/patient/known_patient.h"
#include "gui/journal/journal_fault.h"
#include "gui/journal/journal_schema.h"

namespace limenta {

inline constexpr const char* kJournalFileName = "limenta-runs.sqlite";

class RunJournal {
  public:
    enum class Access {
        Write,  // creates the file, upgrades it, and puts a damaged one aside
        Read,   // an existing journal of this version, or nothing
    };
    struct Opened {
        std::unique_ptr<RunJournal> journal;
        JournalFault fault = JournalFault::None;
        QString problem;       // why there is none, in Limenta's words
        QString damagedAside;  // where a damaged file was put, when one was
    };
    static Opened open(const QString& path, Access access);
    // The files of the journal at `path` put aside as damaged, their -wal and -shm among them.
    static QStringList damagedCopies(const QString& path);
    // The journal's path beside the preferences file `prefsPath`.
    static QString besidePrefs(const QString& prefsPath);

    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    static constexpr int kSchemaVersion = kJournalVersion;

    // All of them or none, in one transaction; false, with the fault, when not written.
    bool write(const std::vector<JournalWrite>& writes);

    [[nodiscard]] std::vector<JournalRun> runs() const;  // newest first
    // Every patient, in the order they were first seen, with their latest run's setup.
    [[nodiscard]] std::vector<KnownPatient> patients() const;
    // Every answer the run was given, in order, those taken back too (marked).
    [[nodiscard]] std::vector<JournalAnswer> answers(std::int64_t run) const;
    // Deletes the runs `runs` with their answers, and the patient `code`, in one
    // transaction; their bytes are overwritten in the file, not only unlinked.
    bool erase(const std::string& code, const std::vector<std::int64_t>& runs);
    // Copies every change into the file and empties the write-ahead log, so no page from
    // before an erasure is left in it; false while another program's reader holds it.
    bool truncateLog();

    [[nodiscard]] JournalFault lastFault() const { return fault_; }
    [[nodiscard]] const QString& lastProblem() const { return problem_; }
    [[nodiscard]] QString path() const;

  private:
    explicit RunJournal(QSqlDatabase database);
    bool prepareSchema();
    bool apply(const JournalWrite& write);
    bool failed(const class QSqlError& error);

    QSqlDatabase db_;
    JournalFault fault_ = JournalFault::None;
    QString problem_;
};

}  // namespace limenta
