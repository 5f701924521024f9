#include "gui/app/menu_bar.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "core/trial/response_keys.h"

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
                 Edit command) {
    QAction* action = menu->addAction(text, [command] { editFocusedField(command); });
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

}  // namespace

QMenuBar* createMenuBar1(QWidget* parent, const std::function<void()>& pastRuns) {
    auto* bar = new QMenuBar(parent);
    bar->setObjectName(QStringLiteral("MenuBar1"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    if (pastRuns) {
        file->addAction(QStringLiteral("Past Runs\u2026"), pastRuns)
            ->setObjectName(QStringLiteral("FilePastRuns"));
    }
    QAction* quit =
        file->addAction(QStringLiteral("Quit"), parent, [parent] { parent->window()->close(); });
    quit->setObjectName(QStringLiteral("FileQuit"));
    quit->setShortcut(keyOf(MenuCommand::Quit));
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    addItem(edit, "EditUndo", QStringLiteral("&Undo"), keyOf(MenuCommand::Undo), Edit::Undo);
    edit->addSeparator()->setObjectName(QStringLiteral("UntitledMenu0"));
    addItem(edit, "EditCut", QStringLiteral("Cu&t"), keyOf(MenuCommand::Cut), Edit::Cut);
    addItem(edit, "EditCopy", QStringLiteral("&Copy"), keyOf(MenuCommand::Copy), Edit::Copy);
    addItem(edit, "EditPaste", QStringLiteral("&Paste"), keyOf(MenuCommand::Paste), Edit::Paste);
    addItem(edit, "EditClear", QStringLiteral("Clear"), QKeySequence(), Edit::Clear);
    return bar;
}

}  // namespace limenta
