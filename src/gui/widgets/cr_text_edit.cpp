#include "gui/widgets/cr_text_edit.h"

namespace limenta {

CrTextEdit::CrTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void CrTextEdit::setText(const QString& crText) {
    QString shown = crText;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

QString CrTextEdit::text() const {
    QString crText = toPlainText();
    // Lines the operator typed or pasted end in CR like the program's own.
    crText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QChar separator : {QChar(QLatin1Char('\n')), QChar(QChar::LineSeparator),
                                  QChar(QChar::ParagraphSeparator)}) {
        crText.replace(separator, QLatin1Char('\r'));
    }
    return crText;
}

}  // namespace limenta
