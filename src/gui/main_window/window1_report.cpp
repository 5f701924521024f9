// Print/Save: composes the report of what the main window shows and hands it to the
// Output window.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/display/history_line.h"
#include "core/report/report_text.h"
#include "gui/main_window/window1.h"
#include "gui/report/output_window.h"
#include "gui/widgets/cr_text_edit.h"

namespace limenta {

void Window1::PushButton4_Action() {
    const auto text = [](const auto* control) { return control->text().toStdString(); };
    ReportInputs in;
    in.stage = run_ == nullptr   ? RunStage::NoRun
               : run_->reached() ? RunStage::Reached
                                 : RunStage::InProgress;
    in.mydate = startedDate_;
    in.mytime = startedTime_;
    in.totaltime = state().totaltime;
    if (run_) {
        // The run's own settings, as it states them.
        in.method = run_->method().reportName;
        in.settings = reportedSettings(run_->method(), run_->settings());
        in.threshold = shownOutput(*run_);
        in.aboveMaximum = run_->aboveMaximum();
        if (const auto interval = run_->interval()) {
            in.interval = std::to_string(interval->shownLow()) + " to " +
                          std::to_string(interval->shownHigh());
        }
        in.history = historyText(run_->trials());
        in.withdrawn = run_->withdrawn().size();
        in.practice = practising();
    } else {
        // No run: the fields as they stand.
        in.method = method_->reportName;
        const RunSettings shown = shownSettings();
        for (const Parameter& parameter : method_->parameters) {
            if (parameter.reportLabel != nullptr) {
                in.settings.emplace_back(parameter.reportLabel, shown.typed(parameter));
            }
        }
    }
    in.percents = {PopupMenu1->currentText().toStdString(), PopupMenu2->currentText().toStdString(),
                   PopupMenu3->currentText().toStdString()};
    for (std::size_t j = 0; j < 3; ++j) {
        in.plain[j] = plainGuides_[j].reported();
        in.corrected[j] = correctedGuides_[j].reported();
    }
    in.m1Distance = text(EditField7);
    in.targetDistance = text(EditField6);
    in.historyHeader = kHistoryHeader;
    myoutput = composeReport(in);
    journalRun_.report = QString::fromStdString(myoutput);
    journalRunUpdated();
    showReport(journalRun_.report);
}

Window4* Window1::outputWindow() const {
    return Window4_;
}

void Window1::showReport(const QString& report) {
    if (Window4_ == nullptr) {
        Window4_ = new Window4(this, platform_.dialogs);
    }
    Window4_->show();
    Window4_->raise();
    Window4_->activateWindow();
    Window4_->EditField1->setText(report);
}

}  // namespace limenta
