// "Virtual patient": the practice patient's window beside the main window. It shows each
// pulse's EMG sweep with its peak-to-peak amplitude for the operator to judge, and at the
// end of the run the hidden threshold beside the estimate, with the sweeps whose judgement
// the patient's muscle did not bear out.
#pragma once

#include <QWidget>
#include <cstddef>
#include <vector>

#include "core/subject/practice_patient.h"

class QGridLayout;
class QLabel;
class QStackedWidget;

namespace limenta {

class SweepView;

class PracticeWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit PracticeWindow(QWidget* mainWindow);
    Q_DISABLE_COPY_MOVE(PracticeWindow)

    // Pulse `number` (from 1), to be fired at `output` in a moment.
    void showWaiting(std::int32_t output, std::size_t number);
    // Pulse `number` fired: its sweep, to be judged.
    void showPulse(const PracticePulse& pulse, std::size_t number);
    // The run's end, against the patient's pulses.
    void showEnd(const PracticeResult& result, const std::vector<PracticePulse>& pulses);

    QLabel* caption = nullptr;     // what the pulse page is showing
    SweepView* sweep = nullptr;    // the latest pulse's sweep
    QLabel* peakToPeak = nullptr;  // its amplitude, 15 to 50 ms after the pulse
    QWidget* endPage = nullptr;    // shown instead of the pulse at the end
    // The end's figures, in the order of practiceFigures: a "FigureLabel" and a
    // "FigureValue" each.
    QGridLayout* figures = nullptr;
    // For each judgement the sweep did not bear out, a "DisagreementCaption" over a
    // SweepView of its sweep.
    QGridLayout* disagreements = nullptr;
    QLabel* agreement = nullptr;  // how many there are

  private:
    QStackedWidget* pages_ = nullptr;
    QWidget* pulsePage_ = nullptr;
};

// Where a window of `size` goes beside the main window's frame `main`: to its right, its
// bottom level with the main window's, as far as the screen's `room` allows.
QPoint placeBeside(const QRect& main, QSize size, const QRect& room);

}  // namespace limenta
