// The canvas that shows the threshold plot: a picture of 550 x 387 holding the splash until a
// run's first answer, then the plot drawn from its scene's steps.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "core/display/plot_scene.h"

namespace limenta {

class PlotCanvas final : public QWidget {
    Q_OBJECT

  public:
    explicit PlotCanvas(QWidget* parent);

    // Draws `scene` (none: the splash) into the picture, unless `version` is already drawn.
    void show(const std::vector<PlotStep>& scene, unsigned version);
    [[nodiscard]] const QImage& picture() const { return p_; }
    // Canvas1_Paint: the picture at (0, 0).
    void paintInto(QPainter& g) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage p_;  // the plot picture
    unsigned drawn_ = 0;
};

// A fresh plot picture holding the splash image.
QImage splashPicture();

// The picture a scene draws.
QImage pictureOf(const std::vector<PlotStep>& scene);

}  // namespace limenta
