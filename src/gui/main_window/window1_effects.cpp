// The console's effects carried out: sounds, journal writes, the Preferences dialog, messages,
// the Output window, where the keyboard goes and the Virtual patient window.
#include <QLineEdit>

#include "gui/journal/journal_writer.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/practice/practice_window.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/report/output_window.h"
#include "gui/widgets/cr_text_edit.h"

namespace limenta {

void Window1::follow() {
    paint(console_.view());
    for (ConsoleEffect& effect : console_.takeEffects()) {
        carryOut(effect);
    }
}

void Window1::carryOut(ConsoleEffect& effect) {
    if (const auto* sound = std::get_if<PlaySound>(&effect)) {
        Sound& played = platform_.sounds.sound(QString::fromStdString(sound->name));
        played.setVolume(sound->volume);
        if (sound->play) {
            played.play();
        }
    } else if (const auto* kept = std::get_if<KeepInJournal>(&effect)) {
        if (host_.journal() != nullptr) {
            host_.journal()->write(kept->write);
        }
    } else if (std::holds_alternative<OpenPreferences>(effect)) {
        Window2 dialog(this, prefs_, platform_);
        platform_.dialogs.runModal(dialog);
        console_.preferencesClosed();
        follow();
    } else if (const auto* message = std::get_if<ShowMessage>(&effect)) {
        platform_.dialogs.message(this, QString::fromStdString(message->text));
    } else if (const auto* report = std::get_if<ShowReport>(&effect)) {
        showReport(QString::fromStdString(report->text));
    } else if (const auto* focus = std::get_if<MoveFocus>(&effect)) {
        switch (focus->target) {
            case FocusTarget::Canvas:
                Canvas1->setFocus(Qt::OtherFocusReason);
                break;
            case FocusTarget::M1Distance:
                EditField7->setFocus(Qt::OtherFocusReason);
                EditField7->selectAll();
                break;
            case FocusTarget::FirstField:
                EditField1->setFocus(Qt::OtherFocusReason);
                break;
        }
    } else if (const auto* page = std::get_if<ShowPracticePage>(&effect)) {
        showPracticePage(*page);
    }
}

PracticeWindow* Window1::practiceWindow() const {
    return practiceWindow_;
}

void Window1::showPracticePage(const ShowPracticePage& page) {
    if (practiceWindow_ == nullptr) {
        practiceWindow_ = new PracticeWindow(this);
    }
    practiceWindow_->show();
    switch (page.page) {
        case ShowPracticePage::Page::Waiting:
            practiceWindow_->showWaiting(page.output, page.number);
            break;
        case ShowPracticePage::Page::Pulse:
            practiceWindow_->showPulse(page.pulse, page.number);
            break;
        case ShowPracticePage::Page::End:
            practiceWindow_->showEnd(page.result, page.pulses);
            break;
    }
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
