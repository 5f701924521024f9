#include "gui/patients/erase_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/patient/patient_code.h"
#include "gui/journal/run_cells.h"

namespace limenta {

EraseDialog::EraseDialog(QWidget* parent, const QString& code, const std::vector<JournalRun>& runs,
                         const QStringList& damagedCopies)
    : QDialog(parent) {
    setObjectName(QStringLiteral("EraseDialog"));
    setWindowTitle(QStringLiteral("Erase %1").arg(code));
    std::vector<const JournalRun*> theirs;
    QStringList noted;
    for (const JournalRun& run : runs) {
        if (run.patient.empty()) {
            noted << startedCell(run);
        } else {
            theirs.push_back(&run);
        }
    }
    QString what = QStringLiteral(
                       "Erase the patient %1 and everything the run journal keeps of them? This "
                       "cannot be undone.\n\n")
                       .arg(code);
    if (theirs.empty()) {
        what += QStringLiteral("They have no runs.");
    } else {
        // The journal lists runs newest first.
        what +=
            QStringLiteral("Their %1 run%2, with every answer, from %3 to %4.")
                .arg(theirs.size())
                .arg(theirs.size() == 1 ? QString() : QStringLiteral("s"))
                .arg(startedCell(*theirs.back()).left(10), startedCell(*theirs.front()).left(10));
    }
    if (!noted.isEmpty()) {
        what += QStringLiteral("\n\nOlder runs whose note holds the code, erased with them: %1.")
                    .arg(noted.join(QStringLiteral(", ")));
    }
    what += QStringLiteral("\n\nReports and CSV files exported earlier are not touched.");
    auto* words = new QLabel(what, this);
    words->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(words);
    if (!damagedCopies.isEmpty()) {
        QStringList names;
        for (const QString& path : damagedCopies) {
            names << QFileInfo(path).fileName();
        }
        damaged = new QCheckBox(
            QStringLiteral("Also delete the damaged journal copies kept aside, which may hold "
                           "them: %1")
                .arg(names.join(QStringLiteral(", "))),
            this);
        damaged->setObjectName(QStringLiteral("DeleteDamagedCopies"));
        layout->addWidget(damaged);
    }
    layout->addWidget(new QLabel(QStringLiteral("Type the code %1 to confirm:").arg(code), this));
    typed = new QLineEdit(this);
    typed->setObjectName(QStringLiteral("EraseCode"));
    layout->addWidget(typed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    eraseButton = buttons->addButton(QStringLiteral("Erase"), QDialogButtonBox::AcceptRole);
    eraseButton->setObjectName(QStringLiteral("EraseConfirm"));
    eraseButton->setEnabled(false);
    layout->addWidget(buttons);
    connect(typed, &QLineEdit::textChanged, this, [this, code](const QString& text) {
        eraseButton->setEnabled(samePatient(trimSpaces(text.toStdString()), code.toStdString()));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(520);
}

bool EraseDialog::deleteDamagedCopies() const {
    return damaged != nullptr && damaged->isChecked();
}

}  // namespace limenta
