#include "gui/widgets/typing_limit.h"

#include <QLineEdit>
#include <QValidator>

namespace limenta {

namespace {

// A validator sees only what is typed or pasted, never what setText puts there; a
// maximum length would cut that too.
class TypedLength final : public QValidator {
    Q_OBJECT

  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*position*/) const override {
        return input.size() > kLongestTypedText ? Invalid : Acceptable;
    }
};

}  // namespace

void limitTyping(QLineEdit* field) {
    field->setValidator(new TypedLength(field));
}

}  // namespace limenta

#include "typing_limit.moc"
