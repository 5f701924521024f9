#include "gui/widgets/design.h"

#include <QLineEdit>
#include <QPalette>
#include <QWidget>

#include "core/display/numbers.h"

namespace limenta {

QFont designFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // "Times" and "Courier" resolve to their metric-compatible faces through fontconfig.
    font.setStyleHint(family.compare(QLatin1String("courier"), Qt::CaseInsensitive) == 0
                          ? QFont::TypeWriter
                          : QFont::Serif);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

double numberIn(const QLineEdit* field) {
    return textToNumber(field->text().toStdString());
}

}  // namespace limenta
