// Opening the window, Start, Reset, the method switch and Quit.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"
#include "core/console/notices.h"

namespace limenta {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void Window1::Event_Open() {
    p = splashPicture();
    for (int d = 0; d <= 9; ++d) {
        sss[static_cast<std::size_t>(d)] = &platform_.sounds.sound(QStringLiteral("s%1").arg(d));
    }
    keys_.successkey = kOpeningSuccessKey;
    keys_.failkey = kOpeningFailKey;
    tellSoundUnavailableOnce();
    loadprefs();
}

void Window1::resetvariables() {
    p = splashPicture();
    Canvas1->update();
    EditField2->setText(QString());
    StaticText20->setText(QString());
    setTextColour(StaticText4, kDesignBlack);
    setCaption(QString::fromLatin1(kStartCaption));
    updateguides();  // blank: no estimate yet
}

RunSettings Window1::shownSettings() const {
    const std::array<const QLineEdit*, 3> fields{EditField1, EditField4, EditField3};
    RunSettings settings;
    std::size_t field = 0;
    for (const Parameter& parameter : method_->parameters) {
        if (parameter.caption != nullptr && field < fields.size()) {
            settings.set(parameter.key, fields[field++]->text().toStdString());
        } else if (parameter.prefsField != 0) {
            settings.set(parameter.key, preferences_.field(parameter.prefsField));
        }
    }
    return settings;
}

void Window1::PushButton1_Action() {
    const RunSettings settings = shownSettings();
    if (startValuesRefused(settings)) {
        return;
    }
    if (notice() == QLatin1String(notice::kPressStart)) {
        tell(QString());
    }
    resetvariables();
    run_ = std::make_unique<Run>(*method_, settings, shared_.of(*method_, settings));
    Procedure& s = run_->state();
    const QDateTime now = platform_.clocks.currentDateTime();
    const QLocale locale;
    startedDate_ = s.mydate = locale.toString(now.date(), QLocale::LongFormat).toStdString();
    startedTime_ = s.mytime = locale.toString(now.time(), QLocale::LongFormat).toStdString();
    s.starttime = platform_.clocks.microseconds();
    setRunInputsLocked(true);
    BevelButton1->setText(QStringLiteral("Adjust"));
    StaticText6->setText(fromStd(keyLegend(keys_)));
    StaticText4->setText(fromStd(shownOutput(*run_)));
    journalRunStarted();
    // The answer keys go to the plot canvas from now on.
    Canvas1->setFocus(Qt::OtherFocusReason);
}

void Window1::PushButton3_Action() {
    if (runInProgress()) {
        journalRunUpdated();
        journalRun_ = JournalRun();
    }
    run_.reset();
    leavePractice();
    // No run, nothing to announce: a number still being spoken stops.
    for (QTimer* stage : {Timer1, Timer2, Timer3, Timer4}) {
        stage->stop();
    }
    resetvariables();
    setRunInputsLocked(false);
    StaticText4->setText(QString());
    if (startValuesPending_) {
        loadprefs();
    }
}

bool Window1::startValuesRefused(const RunSettings& settings) {
    const std::optional<StartProblem> problem = method_->check(*method_, settings);
    if (!problem) {
        return false;
    }
    // A value by its field's caption, or by the name it has where it is set.
    const auto nameOf = [this](StartValue value) {
        for (const Parameter& parameter : method_->parameters) {
            if (parameter.value == value) {
                return parameter.caption != nullptr
                           ? QString::fromLatin1(parameter.caption).remove(QLatin1Char(':'))
                           : QString::fromLatin1(parameter.outsideName);
            }
        }
        return QString();
    };
    platform_.dialogs.message(
        this,
        QStringLiteral("Cannot start: %1 %2.")
            .arg(nameOf(problem->value),
                 fromStd(ruleText(problem->rule, nameOf(StartValue::UpperBound).toStdString()))));
    return true;
}

void Window1::PopupMenu4_Change() {
    // The operator's choice; the preferences applied again leave it standing.
    const Method& chosen = activeMethod();
    loadprefs();
    chooseMethod(chosen);
    showParameterFields(chosen);
}

void Window1::chooseMethod(const Method& method) {
    PopupMenu4->setCurrentIndex(PopupMenu4->findData(QString::fromLatin1(method.key)));
}

void Window1::showParameterFields(const Method& method) {
    const std::array<QLineEdit*, 3> fields{EditField1, EditField4, EditField3};
    const std::vector<const Parameter*> shown = method.fields();
    for (std::size_t i = 0; i < shown.size() && i < fields.size(); ++i) {
        fields[i]->setText(fromStd(filledFrom(method, *shown[i], preferences_)));
    }
}

void Window1::PushButton2_Action() {
    close();
}

}  // namespace limenta
