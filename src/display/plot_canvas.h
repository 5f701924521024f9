// The canvas that shows the plot picture.
#pragma once

#include <QWidget>

namespace limenta {

class Window1;

class PlotCanvas final : public QWidget {
  public:
    PlotCanvas(Window1& window, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Window1& window_;
};

}  // namespace limenta
