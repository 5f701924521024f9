// The operator's input passed on to the console: the controls' events, the keys, the timers'
// ticks, the menus, the journal's notices and quitting.
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringListModel>
#include <QTimer>

#include "gui/journal/journal_writer.h"
#include "gui/journal/past_runs_window.h"
#include "gui/main_window/window1.h"
#include "gui/patients/patients_window.h"
#include "gui/patients/setup_dialog.h"
#include "gui/practice/practice_window.h"

namespace limenta {

void Window1::connectEvents() {
    using Button = Console::Button;
    const auto pressed = [this](QPushButton* button, Button as) {
        connect(button, &QPushButton::clicked, this, [this, as] {
            console_.press(as);
            follow();
        });
    };
    pressed(PushButton1, Button::Start);
    pressed(PushButton3, Button::Reset);
    pressed(PushButton4, Button::PrintSave);
    pressed(PushButton6, Button::Prefs);
    pressed(BevelButton1, Button::Adjust);
    connect(PushButton2, &QPushButton::clicked, this, &QWidget::close);  // Quit

    // Only the operator's changes: the program's own never come back as input.
    using Field = Console::Field;
    for (const auto& [field, as] : {std::pair{EditField1, Field::First},
                                    {EditField4, Field::Second},
                                    {EditField3, Field::Third},
                                    {EditField7, Field::M1Distance},
                                    {EditField6, Field::TargetDistance}}) {
        connect(field, &QLineEdit::textEdited, this, [this, as = as](const QString& text) {
            console_.edited(as, text.toStdString());
            follow();
        });
    }
    connect(PatientField, &QLineEdit::textEdited, this, [this](const QString& text) {
        offerKnownPatients(text);
        console_.edited(Field::Patient, text.toStdString());
        follow();
    });
    connect(patientCompleter_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& code) {
                PatientField->setText(code);
                console_.edited(Field::Patient, code.toStdString());
                follow();
            });
    connect(SetupButton, &QPushButton::clicked, this, &Window1::askSetup);
    connect(PopupMenu4, &QComboBox::activated, this, [this](int index) {
        console_.chooseMethod(static_cast<std::size_t>(index));
        follow();
    });
    const std::array<QComboBox*, 3> percents{PopupMenu1, PopupMenu2, PopupMenu3};
    for (std::size_t j = 0; j < percents.size(); ++j) {
        connect(percents[j], &QComboBox::activated, this, [this, j](int index) {
            console_.choosePercent(j, index);
            follow();
        });
    }
    using Slider = Console::Slider;
    for (const auto& [slider, as] :
         {std::pair{Slider1, Slider::Voice}, {Slider2, Slider::Signal}, {Slider3, Slider::Click}}) {
        connect(slider, &QSlider::valueChanged, this, [this, as = as](int value) {
            console_.moved(as, value);
            follow();
        });
    }
    const std::array<QTimer*, kConsoleTimers> timers{Timer1, Timer2, Timer3, Timer4, Timer5};
    for (std::size_t t = 0; t < timers.size(); ++t) {
        connect(timers[t], &QTimer::timeout, this, [this, t] {
            console_.tick(static_cast<ConsoleTimer>(t));
            follow();
        });
    }
}

void Window1::offerKnownPatients(const QString& typed) {
    // From the second character on: one character matches too many codes to help.
    if (typed.trimmed().size() < 2 || host_.journal() == nullptr) {
        patientCompleter_->popup()->hide();
        return;
    }
    QStringList codes;
    for (const std::string& code : host_.journal()->patientCodes()) {
        codes << QString::fromStdString(code);
    }
    qobject_cast<QStringListModel*>(patientCompleter_->model())->setStringList(codes);
    patientCompleter_->setCompletionPrefix(typed.trimmed());
    patientCompleter_->complete();
}

void Window1::askSetup() {
    auto* dialog = new SetupDialog(this, console_.setup());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        console_.setUp(dialog->setup());
        follow();
    });
    dialog->open();
}

void Window1::Event_Open() {
    console_.open(platform_.sounds.available());
    follow();
}

bool Window1::Event_KeyDown(std::int32_t key) {
    console_.key(key);
    follow();
    return true;
}

bool Window1::Canvas1_KeyDown(std::int32_t key) {
    return Event_KeyDown(key);
}

void Window1::undoLastAnswer() {
    console_.undo();
    follow();
}

void Window1::startPractice() {
    console_.practise();
    follow();
}

void Window1::tell(const QString& notice) {
    console_.tell(notice.toStdString());
    follow();
}

void Window1::closeEvent(QCloseEvent* event) {
    if (const std::optional<std::string> question = console_.quitQuestion()) {
        if (!platform_.dialogs.ask(this, QString::fromStdString(*question), QStringLiteral("Quit"),
                                   QStringLiteral("Cancel"))) {
            event->ignore();
            return;
        }
    }
    console_.quit();
    follow();
    event->accept();
}

void Window1::showPatients() {
    if (patients_ == nullptr) {
        patients_ = new PatientsWindow(
            this, host_.journal(), platform_.dialogs,
            [this](const QString& report) { showReport(report); },
            [this] { return console_.runInProgress() ? console_.runPatient() : std::string(); });
    }
    patients_->refresh();
    patients_->show();
    patients_->raise();
    patients_->activateWindow();
}

void Window1::showPastRuns() {
    if (pastRuns_ == nullptr) {
        pastRuns_ = new PastRunsWindow(this, host_.journal(), platform_.dialogs,
                                       [this](const QString& report) { showReport(report); });
    }
    pastRuns_->refresh();
    pastRuns_->show();
    pastRuns_->raise();
    pastRuns_->activateWindow();
}

}  // namespace limenta
