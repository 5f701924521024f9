// Every run kept: the journal of runs and their answers in an SQLite file beside PREFS.
// Each answer is committed on its own before the window shows its result, so a crash or a
// power cut loses nothing that was on screen.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/procedure/method.h"

namespace limenta {

inline constexpr const char* kJournalFileName = "limenta-runs.sqlite";

struct JournalAnswer {
    int trial = 0;
    double fired = 0;  // the output the answer was given at, unrounded
    int answer = 0;    // 1 MEP, 0 none
    double next = 0;   // the output to fire next
    double diff = 0;   // the run's difference after the answer
    QString at;        // ISO 8601, local time with offset
};

// What a run looked like when it was last updated.
struct JournalRun {
    qint64 id = 0;
    QString started;
    QString ended;  // empty while the estimate has not been reached
    Method method = Method::AdaptivePest;
    QString settings;  // JSON of the three start values as typed
    std::optional<double> estimate;
    std::optional<double> intervalLow;
    std::optional<double> intervalHigh;
    QString report;  // the last report composed for it
    QString note;
    std::array<int, 3> percents{80, 100, 120};
    QString m1Distance;
    QString targetDistance;
    int pulses = 0;
};

class RunJournal {
  public:
    // Opens or creates the journal at `path`. A file that is not a journal is renamed aside
    // (`damagedAside` tells where) and a fresh one started; nothing when the journal cannot
    // be opened at all (`problem` tells why).
    static std::unique_ptr<RunJournal> open(const QString& path, QString& problem,
                                            QString& damagedAside);
    // The journal in the folder of the preferences file `prefsPath`; `notice` is set to the
    // one line the operator should read, when there is one (a damaged file put aside, or no
    // journal at all).
    static std::unique_ptr<RunJournal> openBeside(const QString& prefsPath, QString& notice);
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    static constexpr int kSchemaVersion = 1;

    // Each returns false, with lastProblem() set, when the disk refused it.
    std::optional<qint64> startRun(const QString& started, Method method, const QString& settings);
    bool addAnswer(qint64 run, const JournalAnswer& answer);
    bool updateRun(const JournalRun& run);  // all but id, started, method, settings, note
    bool setNote(qint64 run, const QString& note);

    [[nodiscard]] std::vector<JournalRun> runs() const;  // newest first
    [[nodiscard]] std::vector<JournalAnswer> answers(qint64 run) const;
    [[nodiscard]] const QString& lastProblem() const { return problem_; }
    [[nodiscard]] QString path() const;

  private:
    explicit RunJournal(QSqlDatabase database);
    bool prepareSchema();
    bool failed(const QString& what);

    QSqlDatabase db_;
    QString problem_;
};

}  // namespace limenta
