// What the journal keeps of a run, as the console hands it over and the journal gives it
// back: the run's row, every answer given (those taken back too), and the changes that
// write them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/patient/setup.h"
#include "core/run/trial_line.h"

namespace limenta {

struct JournalAnswer : TrialLine {
    std::string at{};  // ISO 8601, local time with offset
    // Its place among all the run's answers, those taken back too (0: its trial's number).
    int seq = 0;
    std::string withdrawnAt{};  // when it was taken back; empty while it stands
};

// What a run looked like when it was last updated.
struct JournalRun {
    std::int64_t id = 0;  // the row's number, as read back
    std::string uid;  // the run's own name, given at Start: the same in every journal and backlog
    std::string started;  // ISO 8601
    std::string ended;    // the answer that reached the estimate standing now; empty: none
    std::string method;   // its method's key ("pest"); a key the table does not know is shown so
    // JSON of the settings that describe it: the method's key, and each setting the journal
    // names, as the run states it (a preference without a field as the number it is).
    std::string settings;
    std::optional<double> estimate;
    bool aboveMaximum = false;  // the run ended above what the stimulator gives: no estimate
    std::optional<double> intervalLow;
    std::optional<double> intervalHigh;
    std::string report;  // the last report composed for it
    std::string note;
    std::array<int, 3> percents{80, 100, 120};
    std::string m1Distance;
    std::string targetDistance;
    int pulses = 0;  // answers kept
    int fired = 0;   // pulses fired: the answers kept and those taken back
    // A run on a virtual patient, and that patient's threshold, hidden while it ran.
    bool practice = false;
    std::optional<double> trueThreshold;
    // Whose run it is (the code as the journal first kept it; empty: no patient's), and how
    // it was measured.
    std::string patient;
    Setup setup;
};

// One change to the journal: a run started, an answer taken (with the run's row as it then
// stands), an answer taken back, the run's row updated, a note.
struct JournalWrite {
    enum class Kind { Start, Answer, Update, Note, Withdraw };
    Kind kind = Kind::Start;
    // Start: uid, started, method, settings, practice, trueThreshold, patient (a code not yet
    // known makes a new patient) and setup; Answer, Update,
    // Withdraw: the row as it stands
    JournalRun run;
    JournalAnswer answer;      // Answer; Withdraw: its seq and withdrawnAt
    std::int64_t noteRun = 0;  // Note: the run's id, and its text
    std::string note;

    static JournalWrite start(const JournalRun& run) { return {Kind::Start, run, {}, 0, {}}; }
    static JournalWrite taken(const JournalRun& run, const JournalAnswer& answer) {
        return {Kind::Answer, run, answer, 0, {}};
    }
    static JournalWrite update(const JournalRun& run) { return {Kind::Update, run, {}, 0, {}}; }
    static JournalWrite noted(std::int64_t run, const std::string& note) {
        return {Kind::Note, {}, {}, run, note};
    }
    // The answer `answer.seq` taken back at `answer.withdrawnAt`, with the run's row as it
    // now stands.
    static JournalWrite withdrawn(const JournalRun& run, const JournalAnswer& answer) {
        return {Kind::Withdraw, run, answer, 0, {}};
    }
};

}  // namespace limenta
