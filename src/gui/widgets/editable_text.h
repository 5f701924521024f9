// Whether a widget is a text field the operator can type in.
#pragma once

class QWidget;

namespace limenta {

// An editable line or text area: its keys are typing, not answers or commands.
bool isEditableText(const QWidget* widget);

}  // namespace limenta
