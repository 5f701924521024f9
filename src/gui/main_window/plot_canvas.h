// The canvas that shows the plot picture, and the picture it starts with.
#pragma once

#include <QImage>
#include <QWidget>

namespace limenta {

class Window1;

class PlotCanvas final : public QWidget {
    Q_OBJECT

  public:
    PlotCanvas(Window1& window, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Window1& window_;
};

// A fresh plot picture holding the splash image.
QImage splashPicture();

}  // namespace limenta
