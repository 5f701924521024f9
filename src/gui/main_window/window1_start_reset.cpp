// Opening the window, Start, Reset, the method switch and Quit.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "core/display/numbers.h"
#include "core/trial/run_start.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"
#include "gui/widgets/notices.h"

namespace limenta {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void Window1::Event_Open() {
    mysetting = 50.0;
    mystep = 7.0;
    p = splashPicture();
    for (int d = 0; d <= 9; ++d) {
        sss[static_cast<std::size_t>(d)] = &platform_.sounds.sound(QStringLiteral("s%1").arg(d));
    }
    successkey = kOpeningSuccessKey;
    failkey = kOpeningFailKey;
    tellSoundUnavailableOnce();
    loadprefs();
}

void Window1::resetvariables() {
    clearTrials();
    p = splashPicture();
    Canvas1->update();
    EditField2->setText(QString());
    StaticText20->setText(QString());
    setTextColour(StaticText4, kDesignBlack);
    setCaption(QStringLiteral("Next Output to Try:"));
    updateguides();  // blank: no estimate yet
}

void Window1::PushButton1_Action() {
    if (startValuesRefused()) {
        return;
    }
    running_ = true;
    estimateShown_ = false;
    if (notice() == QLatin1String(notice::kPressStart)) {
        tell(QString());
    }
    const QDateTime now = platform_.clocks.currentDateTime();
    const QLocale locale;
    mydate = locale.toString(now.date(), QLocale::LongFormat).toStdString();
    mytime = locale.toString(now.time(), QLocale::LongFormat).toStdString();
    resetvariables();
    setCaption(QStringLiteral("Next Output to Try:"));
    setRunInputsLocked(true);
    BevelButton1->setText(QStringLiteral("Adjust"));
    StaticText6->setText(fromStd(keyLegend(*this)));
    starttime = platform_.clocks.microseconds();

    if (activeMethod() == Method::MlPest) {
        const double lower = numberIn(EditField1);
        const double upper = numberIn(EditField4);
        const double spread = numberIn(EditField3);
        startMlPest(*this, toWhole(lower), toWhole(upper), spread);
        StaticText4->setText(fromStd(plainDecimal(teststim)));
    } else {
        startAdaptivePest(*this, numberIn(EditField1), numberIn(EditField4), numberIn(EditField3));
        StaticText4->setText(fromStd(formatMask(roundHalfAway(mysetting), "##0")));
    }
    journalRunStarted();
    // The answer keys go to the plot canvas from now on.
    Canvas1->setFocus(Qt::OtherFocusReason);
}

void Window1::PushButton3_Action() {
    if (runInProgress()) {
        journalRunUpdated();
        journalRun_ = JournalRun();
    }
    resetvariables();
    setRunInputsLocked(false);
    StaticText4->setText(QString());
    running_ = false;
    if (startValuesPending_) {
        loadprefs();
    }
}

bool Window1::startValuesRefused() {
    const bool ml = activeMethod() == Method::MlPest;
    const double first = numberIn(EditField1);
    const double second = numberIn(EditField4);
    const double third = numberIn(EditField3);
    std::optional<StartProblem> problem =
        ml ? checkMlStart(toWhole(first), toWhole(second), third, mydiff2)
           : checkAdaptiveStart(first, second, third);
    QString name;
    if (problem) {
        name = problem->value == StartValue::MlDiffThreshold
                   ? QStringLiteral("The ML-PEST difference threshold (in Preferences)")
                   : fieldLabel(problem->value)->text().remove(QLatin1Char(':'));
    }
    if (!problem) {
        return false;
    }
    const QString upper = StaticText3->text().remove(QLatin1Char(':'));
    platform_.dialogs.message(
        this, QStringLiteral("Cannot start: %1 %2.")
                  .arg(name, fromStd(ruleText(problem->rule, upper.toStdString()))));
    return true;
}

QLabel* Window1::fieldLabel(StartValue value) const {
    switch (value) {
        case StartValue::InitialOutput:
        case StartValue::LowerBound:
            return StaticText1;
        case StartValue::StepSize:
        case StartValue::UpperBound:
            return StaticText3;
        case StartValue::DiffThreshold:
        case StartValue::Spread:
        case StartValue::MlDiffThreshold:
        case StartValue::Width:  // no field of this window
            break;
    }
    return StaticText2;
}

void Window1::CheckBox1_Action() {
    if (CheckBox1->isChecked()) {
        setMethodLabels(Method::MlPest);
        loadprefs();
        CheckBox1->setChecked(true);
        showParameterFields(Method::MlPest);
    } else {
        setMethodLabels(Method::AdaptivePest);
        loadprefs();
        showParameterFields(Method::AdaptivePest);
        CheckBox1->setChecked(false);
    }
}

void Window1::showParameterFields(Method method) {
    if (method == Method::MlPest) {
        EditField1->setText(QString::number(lowbound));
        EditField4->setText(QString::number(upbound));
        EditField3->setText(QString::number(myspread));
    } else {
        EditField1->setText(fromStd(plainDecimal(mysetting)));
        EditField4->setText(fromStd(plainDecimal(mystep)));
        EditField3->setText(fromStd(plainDecimal(mydiff)));
    }
}

void Window1::PushButton2_Action() {
    close();
}

}  // namespace limenta
