#include "gui/patients/setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "gui/widgets/design.h"

namespace limenta {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, int current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

QLineEdit* text(QWidget* parent, const char* name, const std::string& value) {
    auto* field = new QLineEdit(qt(value), parent);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(static_cast<int>(kSetupTextLongest));
    return field;
}

}  // namespace

SetupDialog::SetupDialog(QWidget* parent, const Setup& setup) : QDialog(parent) {
    setObjectName(QStringLiteral("SetupDialog"));
    setWindowTitle(QStringLiteral("Setup"));
    hemisphere_ =
        choice(this, "Hemisphere", {QString(), QStringLiteral("left"), QStringLiteral("right")},
               static_cast<int>(setup.hemisphere));
    muscle_ = choice(this, "Muscle", {}, -1);
    muscle_->setEditable(true);
    muscle_->addItem(QString());
    for (const char* usual : kUsualMuscles) {
        muscle_->addItem(QLatin1String(usual));
    }
    muscle_->setCurrentText(qt(setup.muscle));
    muscle_->lineEdit()->setMaxLength(static_cast<int>(kSetupTextLongest));
    coil_ = text(this, "Coil", setup.coil);
    stimulator_ = text(this, "Stimulator", setup.stimulator);
    judged_ =
        choice(this, "Judged", {QString(), QStringLiteral("EMG"), QStringLiteral("visible twitch")},
               static_cast<int>(setup.judged));
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("SetupProblem"));
    problem_->setWordWrap(true);
    setTextColour(problem_, kDesignRed);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    // Room for the longest part typed.
    for (QWidget* part :
         std::initializer_list<QWidget*>{hemisphere_, muscle_, coil_, stimulator_, judged_}) {
        part->setMinimumWidth(part->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    }
    form->addRow(QStringLiteral("Hemisphere:"), hemisphere_);
    form->addRow(QStringLiteral("Muscle:"), muscle_);
    form->addRow(QStringLiteral("Coil:"), coil_);
    form->addRow(QStringLiteral("Stimulator:"), stimulator_);
    form->addRow(QStringLiteral("MEP judged by:"), judged_);
    form->addRow(problem_);
    form->addRow(buttons);
}

Setup SetupDialog::setup() const {
    return {static_cast<Hemisphere>(std::max(0, hemisphere_->currentIndex())),
            muscle_->currentText().toStdString(), coil_->text().toStdString(),
            stimulator_->text().toStdString(),
            static_cast<Judged>(std::max(0, judged_->currentIndex()))};
}

void SetupDialog::accept() {
    if (const std::optional<std::string> problem = setupProblem(setup())) {
        problem_->setText(qt(*problem) + QStringLiteral(": it is not kept."));
        return;
    }
    QDialog::accept();
}

}  // namespace limenta
