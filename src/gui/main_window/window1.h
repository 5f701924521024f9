// The main window: the design's controls at their places, showing what the operator's
// console says and passing the operator's input on to it. Its handlers live beside it:
// window1_layout.cpp builds the controls and wires their events, window1_view.cpp paints the
// console's view, window1_effects.cpp carries out the console's effects.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "core/console/console.h"
#include "gui/main_window/window_host.h"
#include "gui/platform/platform.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

namespace limenta {

// The design's size of the caption above the big number.
inline constexpr int kCaptionPixelSize = 24;

class CrTextEdit;
class JournalWriter;
class LineControl;
class PastRunsWindow;
class PlotCanvas;
class PracticeWindow;
class PrefsStore;
class StatusNotice;
class Window4;

class Window1 final : public QMainWindow {
    Q_OBJECT

  public:
    Window1(Platform& platform, PrefsStore& prefs);
    ~Window1() override;
    Q_DISABLE_COPY_MOVE(Window1)

    // Window events.
    void Event_Open();
    bool Event_KeyDown(std::int32_t key);
    bool Canvas1_KeyDown(std::int32_t key);

    // The menus: Edit > Undo, File > Practice with a Virtual Patient..., File > Past Runs...
    void undoLastAnswer();
    [[nodiscard]] bool answerUndoable() const { return console_.answerUndoable(); }
    void startPractice();
    [[nodiscard]] bool practiceAvailable() const { return console_.practiceAvailable(); }
    void showPastRuns();
    void showPatients();  // File > Patients...

    // The journal of runs, kept by its writer, and its notices.
    void setJournal(JournalWriter* journal) { host_.setJournal(journal); }
    void tell(const QString& notice);

    // Sizes the window to its whole design, or as much as the screen holds (then the
    // content scrolls); again once the menu bar is in place.
    void fitToScreen();
    void fitInto(QSize room);

    [[nodiscard]] const Console& console() const { return console_; }
    [[nodiscard]] PracticeWindow* practiceWindow() const;

  protected:
    // Closing during a run asks first.
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class KeyRouter;  // routes the keys to Event_KeyDown and Canvas1_KeyDown

    void buildControls();
    void connectEvents();
    // After every input: the console's view painted, then its effects carried out.
    void follow();
    void paint(const ConsoleView& view);
    // The known patients' codes offered as the operator types one.
    void offerKnownPatients(const QString& typed);
    void askSetup();  // the setup dialog, whose OK sets how the next run is measured
    void carryOut(ConsoleEffect& effect);
    void showPracticePage(const ShowPracticePage& page);
    void showReport(const QString& report);

    Platform& platform_;
    PrefsStore& prefs_;
    WindowHost host_;
    Console console_;
    std::unique_ptr<class KeyRouter> keyRouter_;
    QPointer<Window4> Window4_;
    QPointer<PracticeWindow> practiceWindow_;
    QPointer<PastRunsWindow> pastRuns_;
    QPointer<class PatientsWindow> patients_;
    StatusNotice* notice_ = nullptr;
    QLabel* noSound_ = nullptr;  // "No sound" in the status bar's corner

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
    QLabel* PatientCaption = nullptr;
    QLineEdit* PatientField = nullptr;  // the patient's code, completed from those known
    QPushButton* SetupButton = nullptr;
    QLabel* SetupText = nullptr;  // how the run is measured
    class QCompleter* patientCompleter_ = nullptr;
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
    QTimer* Timer1 = nullptr;  // the announcement's three stages
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Timer4 = nullptr;  // an undo waiting for the answer's wait to end
    QTimer* Timer5 = nullptr;  // the virtual pulse, in practice
};

}  // namespace limenta
