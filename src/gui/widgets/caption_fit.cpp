#include "gui/widgets/caption_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace limenta {

namespace {

// Below this a caption is no longer readable; it is shown at this size regardless.
constexpr int kSmallestPixelSize = 7;

// The text's width, and its ink as the control places it, inside the room.
bool fits(const QFont& font, const QString& text, const QRect& room, int flags) {
    const QFontMetrics metrics(font);
    const QRect block = metrics.boundingRect(room, flags, text);
    const int lines = std::max(1, (block.height() + metrics.leading()) / metrics.lineSpacing());
    const QRect ink = metrics.tightBoundingRect(text);
    const int inkTop = block.top() + metrics.ascent() + ink.top();
    const int inkBottom =
        block.top() + (lines - 1) * metrics.lineSpacing() + metrics.ascent() + ink.bottom();
    return block.width() <= room.width() && inkTop >= room.top() && inkBottom <= room.bottom();
}

}  // namespace

int fittingPixelSize(QFont font, const QString& text, const QRect& room, int flags,
                     int designSize) {
    for (int size = designSize; size > kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        if (fits(font, text, room, flags)) {
            return size;
        }
    }
    return kSmallestPixelSize;
}

void setFittingText(QLabel* label, const QString& text, int designSize) {
    QFont font = label->font();
    font.setPixelSize(
        fittingPixelSize(font, text, label->contentsRect(),
                         static_cast<int>(label->alignment()) |
                             (label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine),
                         designSize));
    label->setFont(font);
    label->setText(text);
}

void fitCaption(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QFont font = button->font();
    font.setPixelSize(fittingPixelSize(font, button->text(), room,
                                       Qt::AlignCenter | Qt::TextSingleLine,
                                       button->font().pixelSize()));
    button->setFont(font);
}

}  // namespace limenta
