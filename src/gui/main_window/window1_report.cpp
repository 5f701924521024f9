// Print/Save: composes the report of what the main window shows and hands it to the
// Output window.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/report/report_text.h"
#include "gui/main_window/window1.h"
#include "gui/report/output_window.h"
#include "gui/widgets/cr_text_edit.h"

namespace limenta {

void Window1::PushButton4_Action() {
    const auto text = [](const auto* control) { return control->text().toStdString(); };
    ReportInputs in;
    in.stage = !runInProgress() ? RunStage::NoRun
               : estimateShown_ ? RunStage::Reached
                                : RunStage::InProgress;
    in.mydate = mydate;
    in.mytime = mytime;
    in.totaltime = totaltime;
    in.method = activeMethod();
    in.field1 = text(EditField1);
    in.field4 = text(EditField4);
    // An ML-PEST run states the spread it estimates with, made whole.
    in.field3 = runInProgress() && in.method == Method::MlPest ? std::to_string(runspread)
                                                               : text(EditField3);
    in.threshold = text(StaticText4);
    if (const auto interval = runInProgress() ? runInterval() : std::nullopt) {
        in.interval =
            std::to_string(interval->shownLow()) + " to " + std::to_string(interval->shownHigh());
    }
    in.percents = {PopupMenu1->currentText().toStdString(), PopupMenu2->currentText().toStdString(),
                   PopupMenu3->currentText().toStdString()};
    for (std::size_t j = 0; j < 3; ++j) {
        in.plain[j] = plainGuides_[j].reported();
        in.corrected[j] = correctedGuides_[j].reported();
    }
    in.m1Distance = text(EditField7);
    in.targetDistance = text(EditField6);
    in.historyHeader = text(EditField5);
    in.history = text(EditField2);
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
