// Past Runs: every run of the journal, newest first, with an editable note; a selected
// run's report in the Output window; the selected runs (or all listed) exported as CSV.
// Practice runs are listed only when asked for.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "gui/journal/journal_writer.h"
#include "gui/journal/run_journal.h"
#include "gui/platform/platform.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace limenta {

class PastRunsWindow final : public QDialog {
    Q_OBJECT

  public:
    enum Column { kWhen, kMethod, kEstimate, kInterval, kPulses, kNote, kColumns };

    // Reads the journal `writer` keeps, and gives it the notes typed here.
    PastRunsWindow(QWidget* parent, JournalWriter* writer, Dialogs& dialogs,
                   std::function<void(const QString&)> showReport);
    Q_DISABLE_COPY_MOVE(PastRunsWindow)

    void refresh();  // reads the journal again
    void exportCsv();

    QTableWidget* table = nullptr;
    QPushButton* exportButton = nullptr;
    QCheckBox* showPractice = nullptr;  // "Show practice runs"
    QLabel* status = nullptr;

  private:
    void showSelectedReport();
    void noteEdited(int row, int column);
    [[nodiscard]] std::vector<JournalRun> selectedRuns() const;

    JournalWriter* writer_;
    std::unique_ptr<RunJournal> journal_;  // read afresh by every refresh
    Dialogs& dialogs_;
    std::function<void(const QString&)> showReport_;
    std::vector<JournalRun> runs_;  // those listed
    bool filling_ = false;
};

}  // namespace limenta
