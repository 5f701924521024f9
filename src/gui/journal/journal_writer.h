// The journal's writer: every write the window asks for goes to the journal on a thread of
// its own, in order, so neither another program's lock nor a slow disk ever holds a key.
// Each write reaches the disk within a tenth of a second of being asked for: in the journal
// when it can be written, else in its backlog (journal_backlog.h), from which it goes into
// the journal, in order, as soon as the journal is free again. Only a lasting fault (a full
// disk, a file that cannot be written, a damaged one) ends journaling for the session.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/journal/journal_record.h"
#include "core/patient/known_patient.h"

namespace limenta {

class JournalWriter {
  public:
    // Every notice for the operator, called on the thread that made the writer.
    using Teller = std::function<void(const QString& notice)>;

    // Opens the journal at `path` (trying again while it is busy) and writes any backlog an
    // earlier session left.
    JournalWriter(QString path, Teller tell);
    // Writes what it still can; anything the journal cannot take stays in the backlog.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Never waits.
    void write(const JournalWrite& write);

    // What an erasure did: the rows deleted, and their bytes gone from every file (false
    // while another program's reader holds the log; the writer finishes it at the next
    // chance, telling the operator, and at the next start).
    struct Erasure {
        bool erased = false;
        bool complete = false;
        QString problem;  // why nothing was erased
    };
    // Erases the patient `code` and the runs `runs` (with their answers) from the journal
    // and its backlog. Waits for the writer's thread, which never waits long.
    Erasure erase(const std::string& code, const std::vector<JournalRun>& runs);

    // The patients known: those of the journal as the writer's thread last read them, and
    // those this writer was handed since. Never waits on the journal.
    [[nodiscard]] std::optional<KnownPatient> patient(const std::string& code) const;
    [[nodiscard]] std::vector<std::string> patientCodes() const;

    // Journaling ended for the session.
    [[nodiscard]] bool ended() const;
    // Every write handed over is in the journal: none queued, none waiting in the backlog.
    [[nodiscard]] bool idle() const;
    [[nodiscard]] const QString& path() const { return path_; }

    // What the writer's thread has done, shared with it.
    struct Progress;

  private:
    QString path_;
    std::shared_ptr<Progress> progress_;
    QObject relay_;  // on the caller's thread: notices come back through it
    QThread thread_;
    class JournalWorker* worker_ = nullptr;  // lives on thread_
};

}  // namespace limenta
