// Draws one EMG sweep in the main window's grey and black: the trace, the measurement
// window a shade lighter, the 50 microvolt criterion as two faint lines, the time ticks.
#pragma once

#include <QWidget>
#include <optional>

#include "core/subject/emg_sweep.h"

namespace limenta {

class SweepView final : public QWidget {
    Q_OBJECT

  public:
    // `fine` draws the trace one pixel wide, for a small copy of a sweep.
    explicit SweepView(QWidget* parent, bool fine = false);

    void setSweep(const EmgSweep& sweep);
    void clear();  // no pulse yet

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<EmgSweep> sweep_;
    bool fine_;
};

}  // namespace limenta
