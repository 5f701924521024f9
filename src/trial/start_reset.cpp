// Opening the window, Start, Reset, the method switch, Prefs and Quit.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "display/numbers.h"
#include "display/plot_canvas.h"
#include "prefs/window2.h"
#include "trial/run_start.h"
#include "ui/main/cr_text_edit.h"
#include "ui/main/design.h"
#include "ui/main/window1.h"

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
    successkey = 49;
    failkey = 48;
    tellSoundUnavailableOnce();
    loadprefs();
}

void Window1::resetvariables() {
    clearTrials();
    p = splashPicture();
    Canvas1->update();
    EditField2->setText(QString());
    setTextColour(StaticText4, kDesignBlack);
    StaticText5->setText(QStringLiteral("Next Output to Try:"));
    for (QLabel* value :
         {StaticText7, StaticText8, StaticText9, StaticText13, StaticText14, StaticText15}) {
        value->setText(QStringLiteral("00"));
    }
}

void Window1::PushButton1_Action() {
    const QDateTime now = platform_.clocks.currentDateTime();
    const QLocale locale;
    mydate = locale.toString(now.date(), QLocale::LongFormat).toStdString();
    mytime = locale.toString(now.time(), QLocale::LongFormat).toStdString();
    resetvariables();
    StaticText5->setText(QStringLiteral("Next Output to Try:"));
    setRunInputsLocked(true);
    BevelButton1->setText(QStringLiteral("Adjust"));
    StaticText6->setText(fromStd(keyLegend(*this)));
    starttime = platform_.clocks.microseconds();

    if (CheckBox1->isChecked()) {
        const double lower = numberIn(EditField1);
        const double upper = numberIn(EditField4);
        const double spread = numberIn(EditField3);
        startMlPest(*this, toWhole(lower), toWhole(upper), spread);
        StaticText4->setText(fromStd(plainDecimal(teststim)));
    } else {
        startAdaptivePest(*this, numberIn(EditField1), numberIn(EditField4), numberIn(EditField3));
        StaticText4->setText(fromStd(formatMask(roundHalfAway(mysetting), "##0")));
    }
    // The answer keys go to the plot canvas from now on.
    Canvas1->setFocus(Qt::OtherFocusReason);
}

void Window1::PushButton3_Action() {
    resetvariables();
    setRunInputsLocked(false);
    StaticText4->setText(QString());
}

void Window1::CheckBox1_Action() {
    if (CheckBox1->isChecked()) {
        setMethodLabels(true);
        loadprefs();
        CheckBox1->setChecked(true);
        showParameterFields(true);
    } else {
        setMethodLabels(false);
        loadprefs();
        showParameterFields(false);
        CheckBox1->setChecked(false);
    }
}

void Window1::showParameterFields(bool mlPest) {
    if (mlPest) {
        EditField1->setText(QString::number(lowbound));
        EditField4->setText(QString::number(upbound));
        EditField3->setText(QString::number(myspread));
    } else {
        EditField1->setText(fromStd(plainDecimal(mysetting)));
        EditField4->setText(fromStd(plainDecimal(mystep)));
        EditField3->setText(fromStd(plainDecimal(mydiff)));
    }
}

void Window1::PushButton6_Action() {
    Window2 dialog(this, prefs_, *this, platform_);
    platform_.dialogs.runModal(dialog);
    loadprefs();
}

void Window1::PushButton2_Action() {
    QApplication::quit();
}

}  // namespace limenta
