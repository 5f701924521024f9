// Everything the operator's console shows, as values: each text, colour and state of the
// main window's controls, the plot's drawing steps, the notice and the timers that run. The
// window paints it; the defaults are what a new window shows before it opens.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/display/plot_scene.h"

namespace limenta {

// The window's title but in practice.
inline constexpr const char* kWindow1Title = "Adaptive PEST Procedure ";
// The caption above the big number from Start on.
inline constexpr const char* kStartCaption = "Next Output to Try:";

// The design's text colours; the window gives each its exact shade.
enum class Ink { Black, Green, Red, Amber, Grey };

// One of the three start-value fields, as the method in use labels it.
struct ParameterField {
    std::string caption;  // "Initial output value:"
    std::string text;     // as typed, or as filled from the preferences
    bool shown = true;    // a field the method does not use is away
    friend bool operator==(const ParameterField&, const ParameterField&) = default;
};

// A quick-reference value.
struct GuideValue {
    std::string text;  // "42"; "100+" for more than a stimulator delivers; blank or "--": none
    Ink ink = Ink::Black;
    std::string tooltip{};  // the number behind "100+"
    friend bool operator==(const GuideValue&, const GuideValue&) = default;
};

// The console's timers: the announcement's three stages, an undo that waits for the
// answer's wait to end, and the virtual pulse in practice.
enum class ConsoleTimer { Announce1, Announce2, Announce3, Undo, Pulse };
inline constexpr std::size_t kConsoleTimers = 5;

struct ConsoleView {
    std::string title = kWindow1Title;
    bool practiceBanner = false;  // "PRACTICE – virtual patient" over the big number
    bool practiceWindow = false;  // the Virtual patient window is open

    // Getting Started: EditField1, EditField4 and EditField3 with their captions.
    std::array<ParameterField, 3> parameters{
        {{"Initial output value:", "50"}, {"Step Size:", "7"}, {"Diff. Threshold:", ".45"}}};
    std::size_t method = 0;          // among the methods the window offers
    bool startEnabled = true;        // Start and the choice of method
    bool startValuesLocked = false;  // the start values and distances greyed, taking no typing
    std::array<int, 3> volumes{85, 85, 85};  // voice, signal, click

    // The patient's code as typed, and how their run is measured, described.
    std::string patient;
    std::string setup;

    // Distance Correct: to M1 (EditField7) and to the target (EditField6).
    std::array<std::string, 2> distances{"0", "0"};
    bool distancesReadOnly = false;
    std::string adjustCaption = "Adjust";
    Ink bracket = Ink::Grey;  // Line1 to Line5

    // Quick Reference: the three percentages, their plain and depth-corrected values.
    std::array<int, 3> percents{80, 100, 120};
    std::array<GuideValue, 3> plain{{{"###"}, {"###"}, {"###"}}};
    std::array<GuideValue, 3> corrected{
        {{"###", Ink::Grey}, {"###", Ink::Grey}, {"###", Ink::Grey}}};

    // The run.
    std::string legend;   // the answer keys
    std::string caption;  // above the big number
    std::string big;      // the next output, or the estimate
    Ink bigInk = Ink::Black;
    std::string interval;  // the 95 % interval under the big number
    Ink intervalInk = Ink::Black;
    std::string history;  // newest line first, each ending in a carriage return
    // The plot's drawing steps; none: the splash picture. The version grows with each change.
    std::vector<PlotStep> plot;
    unsigned plotVersion = 0;

    std::string notice;    // in the status bar until the next
    bool noSound = false;  // "No sound" stays in its corner
    std::array<bool, kConsoleTimers> timers{};

    [[nodiscard]] bool timerOn(ConsoleTimer timer) const {
        return timers[static_cast<std::size_t>(timer)];
    }
};

}  // namespace limenta
