// Brings every key pressed in the main window to its answer handling: keys typed into an
// editable field stay there; every other key goes to the window's or the canvas's
// key handler, so buttons, sliders and read-only fields never swallow an answer.
#pragma once

#include <QObject>

namespace limenta {

class Window1;

class KeyRouter final : public QObject {
  public:
    explicit KeyRouter(Window1& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Window1& window_;
};

}  // namespace limenta
