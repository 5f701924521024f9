// Limenta: the desktop program.
#include <QApplication>
#include <QIcon>

#include "gui/app/assets.h"
#include "gui/app/menu_bar.h"
#include "gui/journal/journal_writer.h"
#include "gui/journal/run_journal.h"
#include "gui/main_window/window1.h"
#include "gui/platform/qt_platform.h"
#include "gui/prefs/prefs_store.h"
#include "gui/sound/mixed_sound_bank.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Limenta"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    limenta::initAssets();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/limenta.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("limenta"));

    limenta::SystemClocks clocks;
    limenta::QtDialogs dialogs;
    limenta::MixedSoundBank sounds(clocks);
    limenta::Platform platform{sounds, clocks, dialogs};
    limenta::PrefsStore prefs(limenta::PrefsStore::defaultFilePath());

    limenta::Window1 window(platform, prefs);
    prefs.setTeller([&](const QString& message) { dialogs.message(&window, message); });
    window.setMenuBar(limenta::createMenuBar1(
        &window, {.practice = [&window] { window.startPractice(); },
                  .practiceAvailable = [&window] { return window.practiceAvailable(); },
                  .pastRuns = [&window] { window.showPastRuns(); },
                  .patients = [&window] { window.showPatients(); },
                  .undoAnswer = [&window] { window.undoLastAnswer(); },
                  .answerUndoable = [&window] { return window.answerUndoable(); }}));
    window.fitToScreen();
    window.show();
    window.Event_Open();
    limenta::JournalWriter journal(limenta::RunJournal::besidePrefs(prefs.filePath()),
                                   [&window](const QString& notice) { window.tell(notice); });
    window.setJournal(&journal);
    return QApplication::exec();
}
