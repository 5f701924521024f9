#include "gui/widgets/qt_key_code.h"

#include <QKeyEvent>

#include "core/trial/response_keys.h"

namespace limenta {

std::int32_t keyCodeOf(const QKeyEvent& event) {
    // Arrows and some special keys carry no text (or not on every platform): map by key.
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return keycode::kReturn;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return keycode::kTab;
        case Qt::Key_Space:
            return keycode::kSpace;
        case Qt::Key_Backspace:
            return keycode::kBackspace;
        case Qt::Key_Delete:
            return keycode::kDelete;
        case Qt::Key_Right:
            return keycode::kRight;
        case Qt::Key_Left:
            return keycode::kLeft;
        case Qt::Key_Up:
            return keycode::kUp;
        case Qt::Key_Down:
            return keycode::kDown;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    const QList<uint> characters = event.text().toUcs4();
    if (characters.isEmpty()) {
        return 0;
    }
    const auto code = static_cast<std::int32_t>(characters.first());
    return isCharacterCode(code) ? code : 0;
}

}  // namespace limenta
