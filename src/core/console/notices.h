// Every notice the console puts in the main window's status bar. Each leads with one short
// sentence in Limenta's words that says what happened and what to do, and fits the bar;
// what follows it (a path, a cause) is shown on hover. A %n stands only after that sentence.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace limenta::notice {

inline constexpr const char* kPressStart = "Press Start to begin a run";
inline constexpr const char* kNoSound =
    "No sound: no audio device was found. Limenta works silently.";
inline constexpr const char* kPrefsDamaged =
    "The preferences file could not be read: default settings are in use.";
inline constexpr const char* kSameKeys =
    "The success and failure keys are the same key: change one of them in Preferences. Until "
    "then no success can be entered.";
inline constexpr const char* kMenuKeyReplaced =
    "A stored answer key belongs to a menu, so the default key answers instead. The %1 key "
    "%2 %3: %4 now answers for %1; choose another key in Preferences.";
inline constexpr const char* kJournalNotOpened =
    "Runs are not being kept: print or save each report. The journal %1 could not be opened "
    "because %2.";
inline constexpr const char* kJournalDamaged =
    "The run journal was damaged, so a new one was started. The damaged file is kept as %1.";
inline constexpr const char* kJournalWaiting =
    "Answers are waiting to be written: another program is using the run journal. Each one is "
    "kept safely on disk and goes into the journal as soon as it is free.";
inline constexpr const char* kJournalWritten =
    "Every answer that was waiting is now in the run journal.";
inline constexpr const char* kJournalFailed =
    "The run journal could not be written: print or save the report to keep this run. Limenta "
    "goes on without it because %1.";

inline constexpr const char* kPulseNotFired =
    "No pulse to judge yet: the virtual pulse fires a second after its output is spoken.";
inline constexpr const char* kPracticeEnded =
    "The practice run has ended: press Reset to leave practice, or practise again from the File "
    "menu.";

inline constexpr const char* kNewPatient = "New patient %1";
inline constexpr const char* kErasureComplete =
    "The erasure is complete: nothing of the erased patient is left in the run journal's files.";

inline constexpr std::array kEveryNotice{
    kPressStart,       kNoSound,        kPrefsDamaged,   kSameKeys,       kMenuKeyReplaced,
    kJournalNotOpened, kJournalDamaged, kJournalWaiting, kJournalWritten, kJournalFailed,
    kPulseNotFired,    kPracticeEnded,  kNewPatient};

// A notice's text with its %1, %2... filled in.
std::string fillIn(std::string text, const std::vector<std::string>& values);

}  // namespace limenta::notice
