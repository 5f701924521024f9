#include "gui/widgets/design.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace limenta {

namespace {

QFont exactFace(const char* family, int pixelSize, bool bold) {
    // The family alone: a style hint would let fontconfig offer a generic face first.
    QFont font{QString::fromLatin1(family)};
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // A desktop's own hinting setting would move glyph widths, and captions with them.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace

void useDesignFaces() {
    for (const char* file :
         {"LiberationSerif-Regular", "LiberationSerif-Bold", "LiberationMono-Regular",
          "LiberationMono-Bold", "LiberationSans-Regular", "LiberationSans-Bold"}) {
        if (QFontDatabase::addApplicationFont(
                QStringLiteral(":/fonts/%1.ttf").arg(QLatin1String(file))) < 0) {
            qWarning("Limenta could not load its face %s: captions may not fit", file);
        }
    }
    QApplication::setFont(exactFace(kApplicationFace, kApplicationPixelSize, false));
}

QFont designFont(Face face, int pixelSize, bool bold) {
    return exactFace(face == Face::Courier ? kCourierFace : kTimesFace, pixelSize, bold);
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

void lookLocked(QLineEdit* field, bool locked) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, locked ? kLockedFieldBase
                                            : QApplication::palette(field).color(QPalette::Base));
    field->setPalette(palette);
}

bool lookedLocked(const QLineEdit* field) {
    return field->palette().color(QPalette::Base) == kLockedFieldBase;
}

QColor inkColour(Ink ink) {
    switch (ink) {
        case Ink::Black:
            return kDesignBlack;
        case Ink::Green:
            return kDesignGreen;
        case Ink::Red:
            return kDesignRed;
        case Ink::Amber:
            return kDesignAmber;
        case Ink::Grey:
            return kDesignGrey;
    }
    return kDesignBlack;
}

}  // namespace limenta
