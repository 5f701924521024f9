#include "gui/widgets/design.h"

#include <QApplication>
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

void showFromStart(QLineEdit* field) {
    // The operator types into a field that has the focus; anything else is the program's.
    QObject::connect(field, &QLineEdit::textChanged, field, [field] {
        if (!field->hasFocus()) {
            field->setCursorPosition(0);
        }
    });
    field->setCursorPosition(0);
}

void setLocked(QLineEdit* field, bool locked) {
    field->setReadOnly(locked);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, locked ? kLockedFieldBase
                                            : QApplication::palette(field).color(QPalette::Base));
    field->setPalette(palette);
}

double numberIn(const QLineEdit* field) {
    return textToNumber(field->text().toStdString());
}

}  // namespace limenta
