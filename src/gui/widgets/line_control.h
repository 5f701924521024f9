// A straight line control drawn between two points of its window, one pixel wide.
#pragma once

#include <QColor>
#include <QWidget>

namespace limenta {

class LineControl final : public QWidget {
    Q_OBJECT

  public:
    LineControl(QWidget* parent, QPoint from, QPoint to, QColor colour);

    void setColour(const QColor& colour);
    [[nodiscard]] QColor colour() const { return colour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

}  // namespace limenta
