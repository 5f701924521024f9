#include "gui/journal/journal_writer.h"

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>

#include "core/console/notices.h"
#include "core/patient/patient_code.h"
#include "gui/journal/journal_backlog.h"
#include "gui/journal/run_journal.h"

namespace limenta {

namespace {

// How often a busy journal is tried again.
constexpr int kRetryMs = 200;

}  // namespace

struct JournalWriter::Progress {
    std::atomic<long> asked{0};        // writes handed to the writer
    std::atomic<long> handled{0};      // writes the worker has taken
    std::atomic<bool> starting{true};  // the journal has not been tried yet
    std::atomic<bool> waiting{false};  // not open yet, or writes wait in the backlog
    std::atomic<bool> ended{false};

    // The patients known, shared with the caller's thread.
    mutable std::mutex patientsHeld;
    std::vector<KnownPatient> read;    // the journal's, as last read
    std::vector<KnownPatient> handed;  // started since, newest setup last

    void know(std::vector<KnownPatient> patients) {
        const std::scoped_lock lock(patientsHeld);
        read = std::move(patients);
    }
    void forget(const std::string& code) {
        const std::scoped_lock lock(patientsHeld);
        for (auto* list : {&read, &handed}) {
            std::erase_if(*list,
                          [&code](const KnownPatient& p) { return samePatient(p.code, code); });
        }
    }
    void hand(const KnownPatient& patient) {
        const std::scoped_lock lock(patientsHeld);
        handed.push_back(patient);
    }
    // The known patient of `code`, with the latest setup either list has for them.
    [[nodiscard]] std::optional<KnownPatient> find(const std::string& code) const {
        const std::scoped_lock lock(patientsHeld);
        std::optional<KnownPatient> found;
        for (const auto* list : {&read, &handed}) {
            for (const KnownPatient& p : *list) {
                if (samePatient(p.code, code)) {
                    found = found ? KnownPatient{found->code, p.lastSetup} : p;
                }
            }
        }
        return found;
    }
    [[nodiscard]] std::vector<std::string> codes() const {
        const std::scoped_lock lock(patientsHeld);
        std::vector<std::string> all;
        for (const auto* list : {&read, &handed}) {
            for (const KnownPatient& p : *list) {
                if (std::ranges::none_of(
                        all, [&p](const std::string& code) { return samePatient(code, p.code); })) {
                    all.push_back(p.code);
                }
            }
        }
        return all;
    }
};

// The writer's half on its own thread: the journal's connection, its backlog and the timer
// that tries a busy journal again.
class JournalWorker final : public QObject {
    Q_OBJECT

  public:
    JournalWorker(QString path, std::function<void(const QString&)> tell,
                  JournalWriter::Progress& progress)
        : path_(std::move(path)),
          tell_(std::move(tell)),
          progress_(progress),
          backlog_(path_),
          retry_(this) {
        retry_.setInterval(kRetryMs);
        connect(&retry_, &QTimer::timeout, this, [this] { retry(); });
    }

    void start() {
        progress_.waiting = true;
        if (opened()) {
            retry();  // and a backlog an earlier session left
        }
        progress_.starting = false;
    }

    void take(const JournalWrite& write) {
        if (!progress_.ended) {
            if (journal_ && backlog_.empty() && journal_->write({write})) {
                ++progress_.handled;
                return;
            }
            if (journal_ && journal_->lastFault() == JournalFault::Lasting) {
                end(journal_->lastProblem());
            } else {
                keepAside(write);
            }
        }
        ++progress_.handled;
    }

    JournalWriter::Erasure erase(const std::string& code, const std::vector<JournalRun>& runs) {
        if (progress_.ended || !opened()) {
            return {false, false, QStringLiteral("the journal is not open")};
        }
        std::set<std::string> uids;
        std::vector<std::int64_t> ids;
        for (const JournalRun& run : runs) {
            uids.insert(run.uid);
            ids.push_back(run.id);
        }
        if (!journal_->erase(code, ids)) {
            return {false, false, journal_->lastProblem()};
        }
        progress_.forget(code);
        // Whatever of theirs still waits to be written goes too, or it would come back.
        backlog_.drop([&](const JournalWrite& w) {
            return (!w.run.patient.empty() && samePatient(w.run.patient, code)) ||
                   uids.contains(w.run.uid) || std::ranges::find(ids, w.noteRun) != ids.end();
        });
        scrubOwed_ = true;
        const bool complete = scrubbed();
        tellWhenScrubbed_ = !complete;
        return {true, complete, {}};
    }

    // The last try before the thread ends; what it cannot write stays in the backlog.
    void finish() {
        retry_.stop();
        if ((progress_.waiting || scrubOwed_) && !progress_.ended) {
            retry();
        }
        retry_.stop();
        journal_.reset();  // its connection belongs to this thread
    }

  private:
    bool opened() {
        if (journal_) {
            return true;
        }
        RunJournal::Opened opened = RunJournal::open(path_, RunJournal::Access::Write);
        if (opened.fault == JournalFault::Busy) {
            retry_.start();
            return false;
        }
        if (!opened.journal) {
            progress_.ended = true;
            retry_.stop();
            tell_(QLatin1String(notice::kJournalNotOpened).arg(path_, opened.problem));
            return false;
        }
        journal_ = std::move(opened.journal);
        progress_.know(journal_->patients());
        // An erasure an earlier session could not finish (another program was reading) is
        // finished now, or as soon as the reader lets go.
        scrubOwed_ = true;
        scrubbed();
        if (!opened.damagedAside.isEmpty()) {
            tell_(QLatin1String(notice::kJournalDamaged).arg(opened.damagedAside));
        }
        return true;
    }

    void keepAside(const JournalWrite& write) {
        if (!backlog_.add(write)) {
            end(QStringLiteral("the answers could not be kept aside (%1)").arg(backlog_.problem()));
            return;
        }
        progress_.waiting = true;
        if (!told_) {
            told_ = true;
            tell_(QLatin1String(notice::kJournalWaiting));
        }
        retry_.start();
    }

    void retry() {
        if (progress_.ended || !opened()) {
            return;
        }
        const bool written = backlog_.drain(
            [this](const std::vector<JournalWrite>& writes) { return journal_->write(writes); });
        if (!written) {
            if (journal_->lastFault() == JournalFault::Lasting) {
                end(journal_->lastProblem());
            }
            return;  // busy: the timer tries again
        }
        if (progress_.waiting.exchange(false) && told_) {
            told_ = false;
            tell_(QLatin1String(notice::kJournalWritten));
        }
        if (!scrubOwed_ || scrubbed()) {
            retry_.stop();
        }
    }

    // The log emptied after an erasure; the timer tries again while a reader holds it, and
    // the operator, told the erasure was not complete, hears when a later try finishes it.
    bool scrubbed() {
        if (!journal_->truncateLog()) {
            retry_.start();
            return false;
        }
        scrubOwed_ = false;
        if (tellWhenScrubbed_) {
            tellWhenScrubbed_ = false;
            tell_(QLatin1String(notice::kErasureComplete));
        }
        return true;
    }

    void end(const QString& why) {
        progress_.ended = true;
        retry_.stop();
        tell_(QLatin1String(notice::kJournalFailed).arg(why));
    }

    QString path_;
    std::function<void(const QString&)> tell_;
    JournalWriter::Progress& progress_;
    JournalBacklog backlog_;
    std::unique_ptr<RunJournal> journal_;
    QTimer retry_;
    bool told_ = false;              // the operator knows answers are waiting
    bool scrubOwed_ = false;         // an erasure's bytes may still be in the log
    bool tellWhenScrubbed_ = false;  // the operator was told the erasure is not complete
};

JournalWriter::JournalWriter(QString path, Teller tell)
    : path_(std::move(path)), progress_(std::make_shared<Progress>()) {
    thread_.setObjectName(QStringLiteral("JournalWriter"));
    auto post = [this, tell = std::move(tell)](const QString& notice) {
        QMetaObject::invokeMethod(
            &relay_, [tell, notice] { tell(notice); }, Qt::QueuedConnection);
    };
    worker_ = new JournalWorker(path_, post, *progress_);
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_] { worker->start(); }, Qt::QueuedConnection);
}

JournalWriter::~JournalWriter() {
    QMetaObject::invokeMethod(
        worker_, [worker = worker_] { worker->finish(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void JournalWriter::write(const JournalWrite& write) {
    if (write.kind == JournalWrite::Kind::Start && !write.run.patient.empty()) {
        progress_->hand({write.run.patient, write.run.setup});
    }
    ++progress_->asked;
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, write] { worker->take(write); }, Qt::QueuedConnection);
}

std::optional<KnownPatient> JournalWriter::patient(const std::string& code) const {
    return progress_->find(code);
}

std::vector<std::string> JournalWriter::patientCodes() const {
    return progress_->codes();
}

JournalWriter::Erasure JournalWriter::erase(const std::string& code,
                                            const std::vector<JournalRun>& runs) {
    Erasure erasure;
    QMetaObject::invokeMethod(
        worker_, [&, worker = worker_] { erasure = worker->erase(code, runs); },
        Qt::BlockingQueuedConnection);
    return erasure;
}

bool JournalWriter::ended() const {
    return progress_->ended;
}

bool JournalWriter::idle() const {
    return !progress_->starting && progress_->handled == progress_->asked &&
           (!progress_->waiting || progress_->ended);
}

}  // namespace limenta

#include "journal_writer.moc"
