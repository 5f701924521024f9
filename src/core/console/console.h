// The operator's console: everything the operator sets or sees between start-up and quit,
// without Qt. It takes the operator's input (a key, a button, a text as edited, an item
// chosen, a timer's tick, a dialog closed) and gives back a view of everything the main
// window shows and the effects the window carries out (sounds, journal writes, dialogs).
// The design's handlers keep their names where the window forwards to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/console/announcer.h"
#include "core/console/console_effects.h"
#include "core/console/console_host.h"
#include "core/console/console_view.h"
#include "core/console/guide_panel.h"
#include "core/console/run_keeper.h"
#include "core/prefs/prefs_format.h"
#include "core/report/reported_run.h"
#include "core/run/run.h"
#include "core/subject/practice_patient.h"
#include "core/trial/response_keys.h"

namespace limenta {

// After an answer, about half a second in which no further key counts.
inline constexpr int kAnswerWaitTicks = 30;
// A virtual pulse fires this many ticks after its output has been spoken.
inline constexpr int kPulseAfterTicks = 60;

class Console {
  public:
    enum class Button { Start, Reset, PrintSave, Prefs, Adjust };
    // The entry fields: the three start values (EditField1, EditField4, EditField3) and the
    // distances to M1 (EditField7) and to the target (EditField6), and the patient's code.
    enum class Field { First, Second, Third, M1Distance, TargetDistance, Patient };
    enum class Slider { Voice, Signal, Click };

    explicit Console(ConsoleHost& host);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    ~Console();

    // The window has opened: the opening keys, then the preferences (on the very first
    // start the Preferences dialog first writes them).
    void open(bool soundAvailable);
    // A key press, by its code, wherever in the window it was pressed.
    void key(std::int32_t code);
    void press(Button button);
    void edited(Field field, std::string text);
    void choosePercent(std::size_t which, int percent);
    // The operator's choice of method, by its place among offeredMethods(): it applies the
    // preferences again, with the choice standing.
    void chooseMethod(std::size_t offered);
    void moved(Slider slider, int volume);
    // How the next run is measured, as the operator set it; a setup with a part that cannot be
    // kept (setupProblem) is refused, and none is taken during a run.
    void setUp(const Setup& setup);
    void tick(ConsoleTimer timer);
    // Edit > Undo: takes the run's latest answer back (one pressed within the answer's wait
    // is carried out when it ends). Nothing outside a run.
    void undo();
    // File > Practice with a Virtual Patient...: a run of the active method and start values
    // on a virtual patient; not during a patient's run; during practice, a new patient.
    void practise();
    // The Preferences dialog asked for has closed.
    void preferencesClosed();
    // A notice from elsewhere (the journal).
    void tell(std::string notice);
    // What quitting now asks first; nothing outside a run.
    [[nodiscard]] std::optional<std::string> quitQuestion() const;
    // Quitting: the run's row brought up to date, the practice window closed.
    void quit();

    [[nodiscard]] const ConsoleView& view() const { return view_; }
    // The effects since they were last taken, in order.
    std::vector<ConsoleEffect> takeEffects();

    // The methods the window offers, in its order.
    [[nodiscard]] static const std::vector<const Method*>& offeredMethods();
    // The method Start begins.
    [[nodiscard]] const Method& activeMethod() const { return *method_; }
    // A run exists from Start until Reset, also after its estimate is reached.
    [[nodiscard]] bool runInProgress() const { return run_ != nullptr; }
    [[nodiscard]] const Run* run() const { return run_.get(); }
    [[nodiscard]] bool answerUndoable() const;
    [[nodiscard]] bool practiceAvailable() const { return !runInProgress() || practising(); }
    [[nodiscard]] bool practising() const { return practice_ != nullptr; }
    [[nodiscard]] const PracticePatient* practicePatient() const { return practice_.get(); }
    [[nodiscard]] const ResponseKeys& keys() const { return keys_; }
    // The preferences applied: the start values the fields are filled from.
    [[nodiscard]] const PrefsText& preferences() const { return preferences_; }
    // How the next run is measured: the known patient's last setup, or as set.
    [[nodiscard]] const Setup& setup() const { return setup_; }
    // Whose run is under way, the code as first kept; empty when it is no patient's.
    [[nodiscard]] const std::string& runPatient() const { return runPatient_; }
    // The report as Print/Save composes it now.
    [[nodiscard]] ReportedRun reported() const;

  private:
    // Why the Preferences dialog was asked for: what follows its closing.
    enum class AfterPreferences {
        Nothing,
        Apply,        // the file it wrote (on the very first start, or a file gone since)
        PrefsButton,  // the keys and volumes at once; the start values too outside a run
        Choose,       // the file, with the method the operator chose standing
    };

    // The preferences and the method.
    bool loadprefs(bool mayAskFirst);  // false: the dialog is asked for first
    void askPreferences(AfterPreferences then, const Method* chosen = nullptr);
    PrefsText usablePrefs(const std::optional<std::string>& text);
    void applyKeysAndVolumes(const PrefsText& prefs);
    void choose(const Method& method);
    void showParameterFields(const Method& method);
    // The settings Start would begin a run of the active method from: its fields, and the
    // preferences for what has no field.
    [[nodiscard]] RunSettings shownSettings() const;
    // Start, Reset, Print/Save and the run on screen.
    void PushButton1_Action();  // Start
    void PushButton3_Action();  // Reset
    void PushButton4_Action();  // Print/Save
    bool startValuesRefused(const RunSettings& settings);
    // The patient's code refused at Start; or else whose run it is (empty: no one's).
    bool patientRefused();
    void takePatient();
    void typePatient(std::string text);  // a known patient's last setup comes with their code
    void resetvariables();
    void showRun();  // the big number, history, interval and plot as the run stands
    void showEndReached();
    void showRunGoingOn(const char* caption);
    void showRunAsItStands();  // the colour, caption and guides the kept answers leave
    // Answers.
    void handleKey(std::int32_t code);
    void takeAnswerKey(std::int32_t answer);
    void withdrawLastAnswer();
    [[nodiscard]] bool answerWaitRunning();
    // Practice.
    [[nodiscard]] bool practiceKeyRefused();
    void firePulseWhenDue();
    void showPractice();
    void leavePractice();
    // The journal.
    [[nodiscard]] bool journalled();
    void keep(const JournalWrite& write);
    void effect(ConsoleEffect effect) { effects_.push_back(std::move(effect)); }
    // The view of what the inputs set: fields, volumes, legend, panels, timers.
    void refresh();

    ConsoleHost& host_;
    ConsoleView view_;
    std::vector<ConsoleEffect> effects_;

    PrefsText preferences_{std::string()};
    bool startValuesPending_ = false;  // Preferences closed during a run: applied at Reset
    bool toldPrefsDamaged_ = false;
    AfterPreferences afterPreferences_ = AfterPreferences::Nothing;
    const Method* chosenMethod_ = nullptr;
    const Method* method_;
    std::array<std::string, 3> typed_{"50", "7", ".45"};  // the start values as typed
    std::string patientTyped_;
    Setup setup_;
    std::string runPatient_;  // whose run it is, the code as first kept; empty: no one's
    Setup runSetup_;
    ResponseKeys keys_;
    bool legendShown_ = false;      // from the first Start on
    bool runInputsLocked_ = false;  // Start, the method and the fields, during a run
    std::array<int, 3> volumes_{85, 85, 85};
    GuidePanel guides_;
    Announcer announcer_;

    SharedModels shared_;       // what the runs of one method and settings share
    std::unique_ptr<Run> run_;  // from Start until Reset
    std::string startedDate_;   // of the latest Start, which a report keeps after Reset
    std::string startedTime_;
    std::int64_t answerWaitEnds_;
    bool undoWaiting_ = false;
    std::unique_ptr<PracticePatient> practice_;  // beside a practice run
    bool pulseTimer_ = false;
    std::optional<std::int64_t> pulseDue_;  // the tick the virtual pulse fires at
    RunKeeper keeper_;
};

}  // namespace limenta
