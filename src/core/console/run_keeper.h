// The console's run as the journal keeps it: its row and the answers it keeps, and the
// writes that bring the journal up to date with each change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/console/guide_panel.h"
#include "core/journal/journal_record.h"
#include "core/run/run.h"

namespace limenta {

class RunKeeper {
  public:
    // A run started at `started` under the name `uid`; a practice run with its virtual
    // patient's threshold; a patient's run with their code and its setup.
    JournalWrite start(const Run& run, std::string uid, std::string started,
                       std::optional<double> trueThreshold, std::string patient = {},
                       Setup setup = {});
    // The run's latest answer, given at `at`, with the run's row as it now stands.
    JournalWrite take(const Run& run, const GuidePanel& panel, const std::string& at);
    // The latest answer kept, taken back at `at`; nothing when none is kept.
    std::optional<JournalWrite> withdraw(const Run& run, const GuidePanel& panel,
                                         const std::string& at);
    // The row as it now stands: the interval, the percentages and distances shown.
    JournalWrite update(const Run& run, const GuidePanel& panel);
    void keepReport(std::string report) { row_.report = std::move(report); }
    // No run is kept any more.
    void forget() { *this = RunKeeper(); }

    // A run is kept under a name.
    [[nodiscard]] bool keeps() const { return !row_.uid.empty(); }
    [[nodiscard]] const JournalRun& row() const { return row_; }

  private:
    // The run's end as it now stands, both ways, and what the panels show.
    void follow(const Run& run, const GuidePanel& panel);

    JournalRun row_;
    std::vector<JournalAnswer> kept_;  // the run's answers kept, as journalled
};

// The settings that describe a run as the journal keeps them: a JSON object of its method's
// key and each setting the journal names, as the run states it, or as the number it is for a
// preference without a field.
std::string journalSettings(const Run& run);

}  // namespace limenta
