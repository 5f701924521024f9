// The console's host in the desktop program: the platform's clocks and sounds, the
// preferences store and the journal's writer.
#pragma once

#include "core/console/console_host.h"
#include "gui/platform/platform.h"

namespace limenta {

class JournalWriter;
class PrefsStore;

class WindowHost final : public ConsoleHost {
  public:
    WindowHost(Platform& platform, PrefsStore& prefs) : platform_(platform), prefs_(prefs) {}

    std::int64_t ticks() override { return platform_.clocks.ticks(); }
    double microseconds() override { return platform_.clocks.microseconds(); }
    WallTime now() override;
    std::optional<std::string> preferences() override;
    bool digitSounding() override;
    bool keepingRuns() override;
    std::string newRunId() override;
    std::optional<KnownPatient> knownPatient(const std::string& code) override;

    // The journal of runs, kept by its writer; none in a window that keeps no runs.
    void setJournal(JournalWriter* journal) { journal_ = journal; }
    [[nodiscard]] JournalWriter* journal() const { return journal_; }

  private:
    Platform& platform_;
    PrefsStore& prefs_;
    JournalWriter* journal_ = nullptr;
};

}  // namespace limenta
