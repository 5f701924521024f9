// File > Patients...: the patients the journal knows, narrowed as the operator types; one
// patient's runs with their thresholds plotted over the dates; any run's report in the
// Output window; that patient's runs exported as CSV; and the patient erased on request.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "core/journal/patient_history.h"
#include "gui/journal/journal_writer.h"
#include "gui/journal/run_journal.h"
#include "gui/platform/platform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace limenta {

class ThresholdPlot;

class PatientsWindow final : public QDialog {
    Q_OBJECT

  public:
    enum PatientColumn { kCode, kRuns, kLastRmt, kLastDate, kLastSetup, kPatientColumns };
    enum RunColumn { kWhen, kMethod, kSetup, kEstimate, kInterval, kPulses, kRunColumns };

    // `running` names the patient whose run this Limenta has under way (empty: none).
    PatientsWindow(QWidget* parent, JournalWriter* writer, Dialogs& dialogs,
                   std::function<void(const QString&)> showReport,
                   std::function<std::string()> running);
    Q_DISABLE_COPY_MOVE(PatientsWindow)

    void refresh();  // reads the journal again
    void exportCsv();
    void erase();

    QLineEdit* find = nullptr;
    QTableWidget* patients = nullptr;
    QTableWidget* runs = nullptr;
    ThresholdPlot* plot = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* eraseButton = nullptr;
    QLabel* status = nullptr;

  private:
    void listPatients();
    void showPatient();
    void showSelectedReport();
    [[nodiscard]] const PatientSummary* chosen() const;

    JournalWriter* writer_;
    Dialogs& dialogs_;
    std::function<void(const QString&)> showReport_;
    std::function<std::string()> running_;
    std::unique_ptr<RunJournal> journal_;   // read afresh by every refresh
    std::vector<JournalRun> all_;           // every run, newest first
    std::vector<PatientSummary> everyone_;  // every patient of all_
    std::vector<PatientSummary> listed_;    // as narrowed
    std::vector<JournalRun> theirs_;        // the chosen patient's runs, newest first
};

}  // namespace limenta
