#include "gui/app/menu_bar.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "core/trial/response_keys.h"
#include "gui/widgets/editable_text.h"

namespace limenta {

namespace {

enum class Edit { Undo, Cut, Copy, Paste, Clear };

// The standard editing commands, on whichever text field has the keyboard focus.
void editFocusedField(Edit command) {
    QWidget* focused = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        switch (command) {
            case Edit::Undo:
                line->undo();
                break;
            case Edit::Cut:
                line->cut();
                break;
            case Edit::Copy:
                line->copy();
                break;
            case Edit::Paste:
                line->paste();
                break;
            case Edit::Clear:
                if (line->hasSelectedText()) {
                    line->del();
                }
                break;
        }
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(focused)) {
        switch (command) {
            case Edit::Undo:
                area->undo();
                break;
            case Edit::Cut:
                area->cut();
                break;
            case Edit::Copy:
                area->copy();
                break;
            case Edit::Paste:
                area->paste();
                break;
            case Edit::Clear:
                if (!area->isReadOnly()) {
                    area->textCursor().removeSelectedText();
                }
                break;
        }
    }
}

QKeySequence keyOf(MenuCommand command) {
    return {QLatin1String(menuKey(command).name)};
}

QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                 const std::function<void()>& act) {
    QAction* action = menu->addAction(text, act);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

}  // namespace

QMenuBar* createMenuBar1(QWidget* parent, const MenuActions& actions) {
    auto* bar = new QMenuBar(parent);
    bar->setObjectName(QStringLiteral("MenuBar1"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    if (actions.practice) {
        QAction* practice =
            addItem(file, "FilePractice", QStringLiteral("Practice with a Virtual Patient\u2026"),
                    QKeySequence(), actions.practice);
        QObject::connect(file, &QMenu::aboutToShow, practice,
                         [practice, available = actions.practiceAvailable] {
                             practice->setEnabled(!available || available());
                         });
    }
    if (actions.pastRuns) {
        file->addAction(QStringLiteral("Past Runs\u2026"), actions.pastRuns)
            ->setObjectName(QStringLiteral("FilePastRuns"));
    }
    if (actions.patients) {
        file->addAction(QStringLiteral("Patients\u2026"), actions.patients)
            ->setObjectName(QStringLiteral("FilePatients"));
    }
    QAction* quit =
        file->addAction(QStringLiteral("Quit"), parent, [parent] { parent->window()->close(); });
    quit->setObjectName(QStringLiteral("FileQuit"));
    quit->setShortcut(keyOf(MenuCommand::Quit));
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    // Typing is undone while a text field has the keyboard; otherwise the latest answer.
    QAction* undo = addItem(edit, "EditUndo", QStringLiteral("&Undo"), keyOf(MenuCommand::Undo),
                            [undoAnswer = actions.undoAnswer] {
                                if (undoAnswer && !isEditableText(QApplication::focusWidget())) {
                                    undoAnswer();
                                } else {
                                    editFocusedField(Edit::Undo);
                                }
                            });
    // A held Ctrl+Z takes back one answer: a flagged repeat never triggers it (the key
    // router keeps the unflagged ones from the menus).
    undo->setAutoRepeat(false);
    if (actions.undoAnswer) {
        QAction* undoAnswer =
            addItem(edit, "EditUndoLastAnswer", QStringLiteral("Undo Last Answer"), QKeySequence(),
                    actions.undoAnswer);
        QObject::connect(edit, &QMenu::aboutToShow, undoAnswer,
                         [undoAnswer, undoable = actions.answerUndoable] {
                             undoAnswer->setEnabled(undoable && undoable());
                         });
    }
    edit->addSeparator()->setObjectName(QStringLiteral("UntitledMenu0"));
    addItem(edit, "EditCut", QStringLiteral("Cu&t"), keyOf(MenuCommand::Cut),
            [] { editFocusedField(Edit::Cut); });
    addItem(edit, "EditCopy", QStringLiteral("&Copy"), keyOf(MenuCommand::Copy),
            [] { editFocusedField(Edit::Copy); });
    addItem(edit, "EditPaste", QStringLiteral("&Paste"), keyOf(MenuCommand::Paste),
            [] { editFocusedField(Edit::Paste); });
    addItem(edit, "EditClear", QStringLiteral("Clear"), QKeySequence(),
            [] { editFocusedField(Edit::Clear); });
    return bar;
}

}  // namespace limenta
