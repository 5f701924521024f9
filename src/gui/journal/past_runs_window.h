// Past Runs: every run of the journal, newest first, with an editable note; a selected
// run's report in the Output window; the selected runs (or all) exported as CSV.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "gui/journal/run_journal.h"
#include "gui/platform/platform.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace limenta {

class PastRunsWindow final : public QDialog {
  public:
    enum Column { kWhen, kMethod, kEstimate, kInterval, kPulses, kNote, kColumns };

    PastRunsWindow(QWidget* parent, RunJournal* journal, Dialogs& dialogs,
                   std::function<void(const QString&)> showReport);
    Q_DISABLE_COPY_MOVE(PastRunsWindow)

    void refresh();  // reads the journal again
    void exportCsv();

    QTableWidget* table = nullptr;
    QPushButton* exportButton = nullptr;
    QLabel* status = nullptr;

  private:
    void showSelectedReport();
    void noteEdited(int row, int column);
    [[nodiscard]] std::vector<JournalRun> selectedRuns() const;

    RunJournal* journal_;
    Dialogs& dialogs_;
    std::function<void(const QString&)> showReport_;
    std::vector<JournalRun> runs_;
    bool filling_ = false;
};

}  // namespace limenta
