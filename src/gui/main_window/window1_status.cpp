// The big number and the history list.
#include <QLabel>

#include "core/display/history_line.h"
#include "core/display/numbers.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/cr_text_edit.h"

namespace limenta {

void Window1::updatescreen(double /*setting*/, std::int32_t answer) {
    const QString history = EditField2->text();
    StaticText4->setText(QString::fromStdString(formatMask(roundHalfAway(mysetting), "##0")));
    const std::string line = historyLine(stepnum, lastsetting, answer, thediff);
    // Newest line on top, so the latest answer is always in view.
    EditField2->setText(QString::fromStdString(line) + history);
}

}  // namespace limenta
