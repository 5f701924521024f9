// The quick-reference percentages and their depth-corrected values.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "core/display/quick_reference.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/design.h"
#include "gui/widgets/line_control.h"

namespace limenta {

namespace {

void fillPercentages(QComboBox* menu, int selected) {
    for (int i = 0; i <= 200; ++i) {
        menu->addItem(QStringLiteral("%1%").arg(i));
    }
    menu->setCurrentIndex(selected);
}

}  // namespace

void Window1::PopupMenu1_Open() {
    fillPercentages(PopupMenu1, 80);
}

void Window1::PopupMenu2_Open() {
    fillPercentages(PopupMenu2, 100);
}

void Window1::PopupMenu3_Open() {
    fillPercentages(PopupMenu3, 120);
}

double Window1::distance_adjust() const {
    return depthFactor(numberIn(EditField6), numberIn(EditField7));
}

namespace {

// A value no stimulator can deliver is shown as "100+" in red, its number in the tooltip.
void showGuide(QLabel* label, const ReferenceValue& value, const QColor& colour) {
    label->setText(QString::fromStdString(value.shown()));
    label->setToolTip(value.aboveMaximum
                          ? QStringLiteral("%1 % of the stimulator's output: more than it can "
                                           "deliver")
                                .arg(QString::fromStdString(value.text))
                          : QString());
    setTextColour(label, value.aboveMaximum ? kDesignRed : colour);
}

}  // namespace

void Window1::updateguides() {
    const std::array<QComboBox*, 3> menus{PopupMenu1, PopupMenu2, PopupMenu3};
    // The estimate while it stands; the state's own while no run exists.
    const double myrmt = run_ ? run_->estimate().value_or(0) : state().myrmt;
    if (run_ && run_->aboveMaximum()) {
        plainGuides_.fill({"--"});  // no percentage of "above 100" is a value
        correctedGuides_.fill({"--"});
        showGuides();
        return;
    }
    for (std::size_t j = 0; j < 3; ++j) {
        plainGuides_[j] = quickReference(myrmt, menus[j]->currentIndex());
        correctedGuides_[j] =
            correctedReference(myrmt, distance_adjust(), menus[j]->currentIndex());
    }
    // Before an estimate there is no value: a blank, never a number to mistake for one.
    if (myrmt == 0) {
        plainGuides_.fill({});
        correctedGuides_.fill({});
    }
    showGuides();
}

void Window1::blankGuides() {
    plainGuides_.fill({});
    correctedGuides_.fill({});
    showGuides();
}

void Window1::showGuides() {
    const std::array<QLabel*, 3> plain{StaticText7, StaticText8, StaticText9};
    const std::array<QLabel*, 3> corrected{StaticText13, StaticText14, StaticText15};
    // Exactly one column is black: the corrected one once a distance has been entered.
    const bool entered = distanceEntered();
    for (std::size_t j = 0; j < 3; ++j) {
        showGuide(plain[j], plainGuides_[j], entered ? kDesignGrey : kDesignBlack);
        showGuide(corrected[j], correctedGuides_[j], entered ? kDesignBlack : kDesignGrey);
    }
}

bool Window1::distanceEntered() const {
    return std::abs(numberIn(EditField6) + numberIn(EditField7)) > 0;
}

void Window1::recolourDistancePanels() {
    for (LineControl* line : {Line1, Line2, Line3, Line4, Line5}) {
        line->setColour(distanceEntered() ? kDesignBlack : kDesignGrey);
    }
    updateguides();
}

void Window1::EditField6_TextChange() {
    recolourDistancePanels();
}

void Window1::EditField7_TextChange() {
    recolourDistancePanels();
}

void Window1::BevelButton1_Action() {
    if (BevelButton1->text() == QLatin1String("Adjust")) {
        EditField6->setReadOnly(false);
        EditField7->setReadOnly(false);
        EditField7->setFocus(Qt::OtherFocusReason);
        EditField7->setSelection(0, static_cast<int>(EditField7->text().length()));
        BevelButton1->setText(QStringLiteral("Continue"));
    } else {
        EditField6->setReadOnly(true);
        EditField7->setReadOnly(true);
        EditField1->setFocus(Qt::OtherFocusReason);
        BevelButton1->setText(QStringLiteral("Adjust"));
    }
    updateguides();
}

}  // namespace limenta
