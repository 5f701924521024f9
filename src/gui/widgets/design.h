// The design's fonts and text colours. Sizes are pixels of the 72-dpi design, so fonts
// are given in pixels and the layout looks as designed on any screen resolution.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include "core/console/console_view.h"

class QLineEdit;

namespace limenta {

inline const QColor kDesignBlack(0, 0, 0);
inline const QColor kDesignGreen(0, 255, 0);
// A warning that stays readable on the grey background.
inline const QColor kDesignAmber(190, 105, 0);
inline const QColor kDesignGrey(150, 150, 150);
inline const QColor kDesignRed(200, 0, 0);
inline const QColor kMainBackground(191, 191, 191);
// The background of an entry field that takes no typing (during a run).
inline const QColor kLockedFieldBase(214, 214, 214);

// The design's two faces, drawn in the metric-compatible Liberation faces the program
// ships: every machine lays the captions out alike, whatever fonts it has.
enum class Face { Times, Courier };
inline constexpr const char* kTimesFace = "Liberation Serif";
inline constexpr const char* kCourierFace = "Liberation Mono";
// Menus, the status bar, dialogs and buttons without a design face.
inline constexpr const char* kApplicationFace = "Liberation Sans";
inline constexpr int kApplicationPixelSize = 12;

// Loads the shipped faces from the program's resources and makes the application face the
// default font. The resources must be registered first.
void useDesignFaces();

QFont designFont(Face face, int pixelSize, bool bold = false);

void setTextColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);

// A control at its design place, with its name (the name tests and scripts find it by)
// and its font.
template <typename Control>
Control* place(Control* control, const char* name, QRect geometry, const QFont& font) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    control->setFont(font);
    return control;
}

// Text the program puts into the field is shown from its start (its leading digits), not
// its tail, when it is too long for the field.
void showFromStart(QLineEdit* field);

// Makes a field look locked (taking no typing), or as usual again.
void lookLocked(QLineEdit* field, bool locked);
[[nodiscard]] bool lookedLocked(const QLineEdit* field);

// The colour of each of the design's inks.
QColor inkColour(Ink ink);

}  // namespace limenta
