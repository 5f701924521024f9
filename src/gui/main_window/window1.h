// The operator's console: every control of the main window, and the run it holds.
// The handlers live beside it, one window1_<topic>.cpp for each topic (answers, start and
// reset, status, plot, quick reference, prefs, report, journal, announcement, layout,
// undo, practice).
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/display/quick_reference.h"
#include "core/prefs/prefs_format.h"
#include "core/procedure/credible_interval.h"
#include "core/run/run.h"
#include "core/subject/practice_patient.h"
#include "core/trial/response_keys.h"
#include "gui/journal/journal_writer.h"
#include "gui/platform/platform.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

namespace limenta {

// After an answer, about half a second in which no further key counts.
inline constexpr int kAnswerWaitTicks = 30;
// The caption above the big number from Start on.
inline constexpr const char* kStartCaption = "Next Output to Try:";
// The window's title but in practice.
inline constexpr const char* kWindow1Title = "Adaptive PEST Procedure ";
// A virtual pulse fires this many ticks after its output has been spoken.
inline constexpr int kPulseAfterTicks = 60;
// The design's size of the caption above the big number.
inline constexpr int kCaptionPixelSize = 24;

class CrTextEdit;
class LineControl;
class PlotCanvas;
class PracticeWindow;
class PrefsStore;
class StatusNotice;
class Window4;

class Window1 final : public QMainWindow {
    Q_OBJECT

  public:
    explicit Window1(Platform& platform, PrefsStore& prefs);
    ~Window1() override;
    Q_DISABLE_COPY_MOVE(Window1)

    // Window events.
    void Event_Open();
    bool Event_KeyDown(std::int32_t key);
    bool Canvas1_KeyDown(std::int32_t key);

    // Trial control.
    void PushButton1_Action();  // Start
    void PushButton3_Action();  // Reset
    void PopupMenu4_Change();   // the operator chose another method
    void PushButton6_Action();  // Prefs
    void PushButton2_Action();  // Quit
    void resetvariables();
    void Timer1_Action();
    void Timer2_Action();
    void Timer3_Action();
    // Edit > Undo: takes the run's latest answer back (once the answer's wait is over:
    // Timer4 carries out one undo pressed within it). Nothing outside a run.
    void undoLastAnswer();
    void Timer4_Action();
    [[nodiscard]] bool answerUndoable() const;
    // The answer's wait: until more than `ticks` ticks have passed, further key presses
    // are dropped and the announcement holds back. The window goes on handling events.
    void delay(double ticks);
    // A run exists from Start until Reset, also after its estimate is reached.
    [[nodiscard]] bool runInProgress() const { return run_ != nullptr; }
    [[nodiscard]] const Run* run() const { return run_.get(); }
    // The run's state under the design's names; all zero while no run exists.
    [[nodiscard]] const Procedure& state() const { return run_ ? run_->state() : idle_; }
    [[nodiscard]] Procedure& state() { return run_ ? run_->state() : idle_; }
    // The answer keys; the preferences file is their one source, applied by the window.
    [[nodiscard]] const ResponseKeys& keys() const { return keys_; }
    [[nodiscard]] ResponseKeys& keys() { return keys_; }
    // The preferences the window applies: the start values its fields are filled from.
    [[nodiscard]] const PrefsText& preferences() const { return preferences_; }
    // Sizes the window to its whole design, or as much as the screen holds (then the
    // content scrolls); again once the menu bar is in place.
    void fitToScreen();
    void fitInto(QSize room);
    // The method PopupMenu4 shows: the one Start begins.
    [[nodiscard]] const Method& activeMethod() const { return *method_; }

    // Displays.
    void updatescreen();
    void showInterval();
    void makepicture();
    void Canvas1_Paint(QPainter& g) const;
    void updateguides();
    [[nodiscard]] double distance_adjust() const;
    void EditField6_TextChange();
    void EditField7_TextChange();
    void BevelButton1_Action();

    // Preferences and report.
    void loadprefs();
    void PushButton4_Action();  // Print/Save
    [[nodiscard]] Window4* outputWindow() const;
    // Shows a report in the Output window, opening it if need be.
    void showReport(const QString& report);

    // File > Practice with a Virtual Patient...: a run of the active method and start values
    // on a virtual patient whose threshold is hidden; its pulses fire by themselves (Timer5)
    // and the Virtual patient window shows each one's sweep to judge. Not during a
    // patient's run; during practice, a new patient. Reset ends practice.
    void startPractice();
    [[nodiscard]] bool practiceAvailable() const;
    [[nodiscard]] bool practising() const { return practice_ != nullptr; }
    [[nodiscard]] const PracticePatient* practicePatient() const { return practice_.get(); }
    [[nodiscard]] PracticeWindow* practiceWindow() const;
    // Fires the virtual pulse once its output has been spoken and a second has passed.
    void Timer5_Action();

    // The journal of runs, kept by its writer; none in a window that keeps no runs.
    void setJournal(JournalWriter* journal) { journal_ = journal; }
    [[nodiscard]] JournalWriter* journal() const { return journal_; }
    void showPastRuns();  // File > Past Runs...

    // The notice at the bottom of the window: its first sentence shown, all of it on hover.
    void tell(const QString& message);
    [[nodiscard]] QString notice() const;

    // The plot picture, 550 x 387.
    QImage p;
    // The digit sounds: sss[d] speaks the digit d.
    std::array<Sound*, 12> sss{};
    // The last report composed.
    std::string myoutput;

    // Controls, named as the operator's manual and the tests know them.
    PlotCanvas* Canvas1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLabel* StaticText7 = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* StaticText9 = nullptr;
    QLabel* StaticText10 = nullptr;
    QLabel* StaticText11 = nullptr;
    QLabel* StaticText12 = nullptr;
    QLabel* StaticText13 = nullptr;
    QLabel* StaticText14 = nullptr;
    QLabel* StaticText15 = nullptr;
    QLabel* StaticText16 = nullptr;
    QLabel* StaticText17 = nullptr;
    QLabel* StaticText18 = nullptr;
    QLabel* StaticText19 = nullptr;
    QLabel* StaticText20 = nullptr;    // the run's 95 % interval
    QLabel* PracticeBanner = nullptr;  // over the big number, in practice only
    QLineEdit* EditField1 = nullptr;
    CrTextEdit* EditField2 = nullptr;
    QLineEdit* EditField3 = nullptr;
    QLineEdit* EditField4 = nullptr;
    QLineEdit* EditField5 = nullptr;
    QLineEdit* EditField6 = nullptr;
    QLineEdit* EditField7 = nullptr;
    QSlider* Slider1 = nullptr;
    QSlider* Slider2 = nullptr;
    QSlider* Slider3 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* BevelButton1 = nullptr;
    QComboBox* PopupMenu1 = nullptr;
    QComboBox* PopupMenu2 = nullptr;
    QComboBox* PopupMenu3 = nullptr;
    QComboBox* PopupMenu4 = nullptr;  // the method: every one the window offers
    LineControl* Line1 = nullptr;
    LineControl* Line2 = nullptr;
    LineControl* Line3 = nullptr;
    LineControl* Line4 = nullptr;
    LineControl* Line5 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Timer4 = nullptr;  // an undo waiting for the answer's wait to end
    QTimer* Timer5 = nullptr;  // the virtual pulse, in practice

  protected:
    // Closing during a run asks first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectEvents();
    void PopupMenu1_Open();
    void PopupMenu2_Open();
    void PopupMenu3_Open();
    void setMethodLabels(const Method& method);
    void chooseMethod(const Method& method);  // as the program's own choice
    void showParameterFields(const Method& method);
    // The settings Start would begin a run of the active method from: its fields, and the
    // preferences for what has no field.
    [[nodiscard]] RunSettings shownSettings() const;
    void setRunInputsLocked(bool locked);
    void setCaption(const QString& caption);  // above the big number
    void handleKey(std::int32_t key);
    void takeAnswerKey(std::int32_t answer);
    void presentEstimate();  // the end on screen, and its signal
    void showEndReached();
    void showRunGoingOn(const char* caption);
    void showRunOnScreen();  // the big number, history, interval and plot as the run stands
    void withdrawLastAnswer();
    void showRunAsItStands();  // the colour, caption and guides the kept answers leave
    void announceStage(int stage, QTimer* own, QTimer* next);
    [[nodiscard]] bool digitPlaying() const;
    // Practice: a key that can answer no pulse now, and what the practice window shows as
    // the patient and the run stand.
    [[nodiscard]] bool practiceKeyRefused();
    void firePracticePulse();
    void showPractice();
    void leavePractice();
    void recolourDistancePanels();
    void showGuides();
    void blankGuides();
    [[nodiscard]] bool distanceEntered() const;
    void loadprefs(bool mayAskFirst);
    void showPreferences();  // the Preferences dialog, modal
    void loadKeysAndVolumes();
    PrefsText usablePrefs(const std::optional<std::string>& text);
    void applyKeysAndVolumes(const PrefsText& prefs);
    [[nodiscard]] bool answerWaitRunning() const;
    [[nodiscard]] bool startValuesRefused(const RunSettings& settings);
    void tellSoundUnavailableOnce();

    Platform& platform_;
    PrefsStore& prefs_;
    QPointer<Window4> Window4_;
    StatusNotice* notice_ = nullptr;
    std::unique_ptr<class KeyRouter> keyRouter_;
    std::unique_ptr<Run> run_;                   // from Start until Reset
    std::unique_ptr<PracticePatient> practice_;  // beside a practice run
    QPointer<PracticeWindow> practiceWindow_;
    std::optional<qint64> pulseDue_;  // the tick the virtual pulse fires at
    SharedModels shared_;             // what the runs of one method and settings share
    Procedure idle_;                  // what the displays show of no run
    const Method* method_;            // the active method
    ResponseKeys keys_;
    PrefsText preferences_{std::string()};
    // The date and time of the latest Start, which a report keeps after Reset.
    std::string startedDate_;
    std::string startedTime_;
    // Preferences closed during a run: their start values and method apply at Reset.
    bool startValuesPending_ = false;
    bool toldPrefsDamaged_ = false;
    qint64 answerWaitEnds_ = std::numeric_limits<qint64>::min();
    // The journal, and this run's row in it (no uid: not journalled).
    void journalRunStarted();
    void journalAnswerTaken(std::int32_t answer, double next);
    void journalAnswerWithdrawn();
    void followRunEnd();  // the run's estimate, interval end and end time into journalRun_
    void journalRunUpdated();
    [[nodiscard]] bool journalled() const;
    void keepRunShown();  // the interval, percentages and distances into journalRun_
    [[nodiscard]] QString journalTime() const;
    JournalWriter* journal_ = nullptr;
    JournalRun journalRun_;
    std::vector<JournalAnswer> keptAnswers_;  // the run's answers kept, as journalled
    QPointer<class PastRunsWindow> pastRuns_;
    // The quick-reference values on screen, plain and depth-corrected.
    std::array<ReferenceValue, 3> plainGuides_;
    std::array<ReferenceValue, 3> correctedGuides_;
};

}  // namespace limenta
