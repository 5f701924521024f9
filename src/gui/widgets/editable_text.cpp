#include "gui/widgets/editable_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace limenta {

bool isEditableText(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return !line->isReadOnly();
    }
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(widget)) {
        return !area->isReadOnly();
    }
    return false;
}

}  // namespace limenta
