// What the console asks the window to do after an input: sounds to play, changes to keep in
// the journal, dialogs and windows to open, where the keyboard goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/journal/journal_record.h"
#include "core/subject/practice_patient.h"

namespace limenta {

// Sets the volume of the sound `name` ("Click", "ding2", "s0" to "s9"), then plays it unless
// `play` is false.
struct PlaySound {
    std::string name;
    int volume = 0;
    bool play = true;
    friend bool operator==(const PlaySound&, const PlaySound&) = default;
};

struct KeepInJournal {
    JournalWrite write;
};

// The Preferences dialog, modal; the console's preferencesClosed() once it has closed.
struct OpenPreferences {};

// A message box with one button.
struct ShowMessage {
    std::string text;
};

// The report in the Output window.
struct ShowReport {
    std::string text;
};

enum class FocusTarget {
    Canvas,      // the plot takes the answer keys
    M1Distance,  // its whole text selected, to be typed over
    FirstField,  // the first start value
};

struct MoveFocus {
    FocusTarget target;
};

// What the Virtual patient window shows.
struct ShowPracticePage {
    enum class Page {
        Waiting,  // pulse `number` (from 1) fires at `output` in a moment
        Pulse,    // pulse `number` fired: its sweep, to be judged
        End,      // the run's end against the patient's pulses
    };
    Page page = Page::Waiting;
    std::int32_t output = 0;
    std::size_t number = 0;
    PracticePulse pulse;
    PracticeResult result;
    std::vector<PracticePulse> pulses;
};

using ConsoleEffect = std::variant<PlaySound, KeepInJournal, OpenPreferences, ShowMessage,
                                   ShowReport, MoveFocus, ShowPracticePage>;

}  // namespace limenta
