// What the console asks of the world around it: the clocks, the preferences file as it
// stands, whether a spoken digit is still sounding, whether runs are being kept, a name
// for a new run, and the patients known. The desktop program answers from its platform; tests
// answer as they like.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/patient/known_patient.h"

namespace limenta {

// The date and time now, in the forms the console writes them.
struct WallTime {
    std::string longDate;  // the platform's long date: "Tuesday, 8 December 2026"
    std::string longTime;  // the platform's long time: "09:30:15 Central European Time"
    std::string iso;       // ISO 8601, local time with its offset: "2026-12-08T09:30:15+01:00"
    std::int64_t msecsSinceEpoch = 0;
};

class ConsoleHost {
  public:
    virtual ~ConsoleHost() = default;
    virtual std::int64_t ticks() = 0;   // 60 a second
    virtual double microseconds() = 0;  // for the run's duration
    virtual WallTime now() = 0;
    // PREFS's whole text; nothing when there is no file.
    virtual std::optional<std::string> preferences() = 0;
    // A digit of an announcement is still being spoken.
    virtual bool digitSounding() = 0;
    // The journal takes runs: there is one, and it has not stopped for the session.
    virtual bool keepingRuns() = 0;
    // A name no other run has, in any journal.
    virtual std::string newRunId() = 0;
    // The patient the journal knows by `code`, whatever its case; never waits on the journal.
    virtual std::optional<KnownPatient> knownPatient(const std::string& code) = 0;
};

}  // namespace limenta
