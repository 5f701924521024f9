// Captions that fit their controls: the design's size where the text fits, else the
// largest smaller size that does.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

namespace limenta {

// The largest pixel size up to `designSize` at which `text` in `font`, wrapped at word
// boundaries when `wrap`, has its width and its ink inside `room`.
int fittingPixelSize(QFont font, const QString& text, const QRect& room, bool wrap, int designSize);

// Sets a label's text in the largest size up to `designSize` that fits it (wrapping when the
// label wraps).
void setFittingText(QLabel* label, const QString& text, int designSize);

// Shrinks a button's caption, if need be, to fit inside its frame.
void fitCaption(QPushButton* button);

}  // namespace limenta
