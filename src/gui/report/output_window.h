// The Output window: shows a report and prints or saves it.
#pragma once

#include <QWidget>

#include "gui/platform/platform.h"

class QPushButton;

namespace limenta {

class CrTextEdit;

class Window4 final : public QWidget {
    Q_OBJECT

  public:
    Window4(QWidget* mainWindow, Dialogs& dialogs);
    Q_DISABLE_COPY_MOVE(Window4)

    void PushButton1_Action();  // Print
    void PushButton2_Action();  // Save
    void PushButton3_Action();  // Close

    CrTextEdit* EditField1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;

  private:
    Dialogs& dialogs_;
};

}  // namespace limenta
