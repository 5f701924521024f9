// "Select a key": waits for one key press and hands its code to the Preferences dialog.
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;

namespace limenta {

class Window3 final : public QDialog {
    Q_OBJECT

  public:
    // The code of the accepted key is written to `selectedkey`.
    Window3(QWidget* parent, std::int32_t& selectedkey);
    Q_DISABLE_COPY_MOVE(Window3)

    // Takes a key press: arrow keys are ignored, a key the menus use is refused with a word
    // on what it does, any other key is stored and closes the window. Returns true when the
    // key was taken.
    bool Event_KeyDown(std::int32_t key);

    QLabel* StaticText1 = nullptr;

  protected:
    bool event(QEvent* event) override;

  private:
    std::int32_t& selectedkey_;
};

}  // namespace limenta
