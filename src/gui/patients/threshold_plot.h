// One patient's thresholds over the dates of their runs: each estimate a mark with its 95 %
// interval as a bar, one kind of mark per setup (thresholds compare only within a setup),
// named in a legend. Drawn with QPainter, like the run's plot.
#pragma once

#include <QWidget>
#include <vector>

#include "core/journal/journal_record.h"

namespace limenta {

class ThresholdPlot final : public QWidget {
    Q_OBJECT

  public:
    explicit ThresholdPlot(QWidget* parent);
    // The patient's runs, in any order; those without an estimate are left out.
    void show(const std::vector<JournalRun>& runs);

    struct Mark {
        qint64 day;  // days since the epoch of the run's start
        double estimate;
        double low;  // the interval; the estimate when none is kept
        double high;
        std::size_t setup;  // its place among setups
    };
    [[nodiscard]] const std::vector<Mark>& marks() const { return marks_; }
    [[nodiscard]] const std::vector<QString>& setups() const { return setups_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<Mark> marks_;
    std::vector<QString> setups_;  // described, in the order first seen
};

}  // namespace limenta
