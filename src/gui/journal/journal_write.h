// One change to the journal, as the window asks for it: a run started, an answer taken
// (with the run's row as it then stands), the run's row updated, a note. The journal's
// writer keeps these in order, and on disk as JSON lines while the journal is busy.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace limenta {

struct JournalAnswer {
    int trial = 0;
    double fired = 0;  // the output the answer was given at, unrounded
    int answer = 0;    // 1 MEP, 0 none
    double next = 0;   // the output to fire next
    double diff = 0;   // the run's difference after the answer
    QString at;        // ISO 8601, local time with offset
    // Its place among all the run's answers, those taken back too (0: its trial's number).
    int seq = 0;
    QString withdrawnAt{};  // when it was taken back; empty while it stands
};

// What a run looked like when it was last updated.
struct JournalRun {
    qint64 id = 0;  // the row's number, as read back
    QString uid;    // the run's own name, given at Start: the same in every journal and backlog
    QString started;
    QString ended;     // empty while the estimate has not been reached
    QString method;    // its method's key ("pest"); a key the table does not know is shown so
    QString settings;  // JSON of the three start values as typed
    std::optional<double> estimate;
    bool aboveMaximum = false;  // the run ended above what the stimulator gives: no estimate
    std::optional<double> intervalLow;
    std::optional<double> intervalHigh;
    QString report;  // the last report composed for it
    QString note;
    std::array<int, 3> percents{80, 100, 120};
    QString m1Distance;
    QString targetDistance;
    int pulses = 0;  // answers kept
    int fired = 0;   // pulses fired: the answers kept and those taken back
    // A run on a virtual patient, and that patient's threshold, hidden while it ran.
    bool practice = false;
    std::optional<double> trueThreshold;
};

struct JournalWrite {
    enum class Kind { Start, Answer, Update, Note, Withdraw };
    Kind kind = Kind::Start;
    // Start: uid, started, method, settings, practice and trueThreshold; Answer, Update,
    // Withdraw: the row as it stands
    JournalRun run;
    JournalAnswer answer;  // Answer; Withdraw: its seq and withdrawnAt
    qint64 noteRun = 0;    // Note: the run's id, and its text
    QString note;

    static JournalWrite start(const JournalRun& run);
    static JournalWrite taken(const JournalRun& run, const JournalAnswer& answer);
    static JournalWrite update(const JournalRun& run);
    static JournalWrite noted(qint64 run, const QString& note);
    // The answer `answer.seq` taken back at `answer.withdrawnAt`, with the run's row as it
    // now stands.
    static JournalWrite withdrawn(const JournalRun& run, const JournalAnswer& answer);

    // One line of JSON, and back; nothing for a line that is not one (a line cut short).
    [[nodiscard]] QByteArray toJson() const;
    static std::optional<JournalWrite> fromJson(const QByteArray& line);
};

}  // namespace limenta
