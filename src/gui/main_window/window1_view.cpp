// The console's view painted into the controls: every text, colour and state, changed only
// where it differs, so painting after every input and every timer's tick costs little.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "core/console/notices.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/practice/practice_window.h"
#include "gui/widgets/caption_fit.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"
#include "gui/widgets/line_control.h"
#include "gui/widgets/status_notice.h"

namespace limenta {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

void showText(QLabel* label, const std::string& text) {
    if (label->text() != qt(text)) {
        label->setText(qt(text));
    }
}

// A text longer than its label ends in an ellipsis, the whole of it shown on hover.
void showElided(QLabel* label, const std::string& text) {
    const QString whole = qt(text);
    const QString shown =
        label->fontMetrics().elidedText(whole, Qt::ElideRight, label->contentsRect().width());
    if (label->text() != shown) {
        label->setText(shown);
        label->setToolTip(shown == whole ? QString() : whole);
    }
}

void showInk(QWidget* widget, Ink ink) {
    if (textColour(widget) != inkColour(ink)) {
        setTextColour(widget, inkColour(ink));
    }
}

// A field's text as the console has it; the operator's own typing is already there.
void showField(QLineEdit* field, const std::string& text) {
    if (field->text() != qt(text)) {
        field->setText(qt(text));
    }
}

// Read-only or taking typing, and greyed or not: during a run the fields look locked, and
// Adjust lets the distances take typing all the same.
void showLocked(QLineEdit* field, bool readOnly, bool greyed) {
    if (field->isReadOnly() != readOnly) {
        field->setReadOnly(readOnly);
    }
    if (lookedLocked(field) != greyed) {
        lookLocked(field, greyed);
    }
}

void showGuide(QLabel* label, const GuideValue& value) {
    showText(label, value.text);
    showInk(label, value.ink);
    if (label->toolTip() != qt(value.tooltip)) {
        label->setToolTip(qt(value.tooltip));
    }
}

// The program's change of a choice or a slider, never taken for the operator's.
void showValue(QComboBox* menu, int index) {
    if (menu->currentIndex() != index) {
        const QSignalBlocker programs(menu);
        menu->setCurrentIndex(index);
    }
}

void showValue(QSlider* slider, int value) {
    if (slider->value() != value) {
        const QSignalBlocker programs(slider);
        slider->setValue(value);
    }
}

}  // namespace

void Window1::paint(const ConsoleView& view) {
    if (windowTitle() != qt(view.title)) {
        setWindowTitle(qt(view.title));
    }
    PracticeBanner->setVisible(view.practiceBanner);

    const std::array<QLabel*, 3> captions{StaticText1, StaticText3, StaticText2};
    const std::array<QLineEdit*, 3> fields{EditField1, EditField4, EditField3};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ParameterField& shown = view.parameters[i];
        showText(captions[i], shown.caption);
        captions[i]->setVisible(shown.shown);
        showField(fields[i], shown.text);
        fields[i]->setVisible(shown.shown);
        showLocked(fields[i], view.startValuesLocked, view.startValuesLocked);
    }
    showField(PatientField, view.patient);
    showLocked(PatientField, view.startValuesLocked, view.startValuesLocked);
    SetupButton->setEnabled(!view.startValuesLocked);
    showElided(SetupText, view.setup);
    PushButton1->setEnabled(view.startEnabled);
    PopupMenu4->setEnabled(view.startEnabled);
    showValue(PopupMenu4, static_cast<int>(view.method));
    const std::array<QSlider*, 3> sliders{Slider1, Slider2, Slider3};
    for (std::size_t k = 0; k < sliders.size(); ++k) {
        showValue(sliders[k], view.volumes[k]);
    }

    const std::array<QLineEdit*, 2> distances{EditField7, EditField6};
    for (std::size_t i = 0; i < distances.size(); ++i) {
        showField(distances[i], view.distances[i]);
        showLocked(distances[i], view.distancesReadOnly, view.startValuesLocked);
    }
    if (BevelButton1->text() != qt(view.adjustCaption)) {
        BevelButton1->setText(qt(view.adjustCaption));
    }
    for (LineControl* line : {Line1, Line2, Line3, Line4, Line5}) {
        if (line->colour() != inkColour(view.bracket)) {
            line->setColour(inkColour(view.bracket));
        }
    }
    const std::array<QComboBox*, 3> menus{PopupMenu1, PopupMenu2, PopupMenu3};
    const std::array<QLabel*, 3> plain{StaticText7, StaticText8, StaticText9};
    const std::array<QLabel*, 3> corrected{StaticText13, StaticText14, StaticText15};
    for (std::size_t j = 0; j < 3; ++j) {
        showValue(menus[j], view.percents[j]);
        showGuide(plain[j], view.plain[j]);
        showGuide(corrected[j], view.corrected[j]);
    }

    showText(StaticText6, view.legend);
    if (StaticText5->text() != qt(view.caption)) {
        // The longest caption (the trial limit) wraps, in a smaller size if it must.
        setFittingText(StaticText5, qt(view.caption), kCaptionPixelSize);
    }
    showText(StaticText4, view.big);
    showInk(StaticText4, view.bigInk);
    showText(StaticText20, view.interval);
    showInk(StaticText20, view.intervalInk);
    if (EditField2->text() != qt(view.history)) {
        EditField2->setText(qt(view.history));
    }
    Canvas1->show(view.plot, view.plotVersion);

    if (notice_->message() != qt(view.notice)) {
        notice_->tell(qt(view.notice));
    }
    if (view.noSound && noSound_ == nullptr) {
        noSound_ = new QLabel(QStringLiteral("No sound"), statusBar());
        noSound_->setObjectName(QStringLiteral("NoSoundIndicator"));
        noSound_->setToolTip(QString::fromUtf8(notice::kNoSound));
        statusBar()->addPermanentWidget(noSound_);
    }
    const std::array<QTimer*, kConsoleTimers> timers{Timer1, Timer2, Timer3, Timer4, Timer5};
    for (std::size_t t = 0; t < timers.size(); ++t) {
        if (view.timers[t] && !timers[t]->isActive()) {
            timers[t]->start();
        } else if (!view.timers[t] && timers[t]->isActive()) {
            timers[t]->stop();
        }
    }
    if (!view.practiceWindow && practiceWindow_ != nullptr && practiceWindow_->isVisible()) {
        practiceWindow_->close();
    }
}

}  // namespace limenta
