#include "gui/patients/patients_window.h"

#include <QDateTime>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/numbers/numbers.h"
#include "core/patient/patient_code.h"
#include "gui/journal/journal_export.h"
#include "gui/journal/run_cells.h"
#include "gui/patients/erase_dialog.h"
#include "gui/patients/threshold_plot.h"

namespace limenta {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidget* table(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(QLatin1String(name));
    t->setHorizontalHeaderLabels(headers);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    return t;
}

QString dateOf(const std::string& iso) {
    return QDateTime::fromString(qt(iso), Qt::ISODate)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd"));
}

}  // namespace

PatientsWindow::PatientsWindow(QWidget* parent, JournalWriter* writer, Dialogs& dialogs,
                               std::function<void(const QString&)> showReport,
                               std::function<std::string()> running)
    : QDialog(parent),
      writer_(writer),
      dialogs_(dialogs),
      showReport_(std::move(showReport)),
      running_(std::move(running)) {
    setObjectName(QStringLiteral("PatientsWindow"));
    setWindowTitle(QStringLiteral("Patients"));
    resize(900, 640);
    find = new QLineEdit(this);
    find->setObjectName(QStringLiteral("FindPatient"));
    find->setPlaceholderText(QStringLiteral("Find a patient by code"));
    find->setClearButtonEnabled(true);
    patients = table(this, "PatientsTable",
                     {QStringLiteral("Code"), QStringLiteral("Runs"), QStringLiteral("Last rMT"),
                      QStringLiteral("Date"), QStringLiteral("Last setup")});
    runs = table(
        this, "PatientRunsTable",
        {QStringLiteral("Date and time"), QStringLiteral("Method"), QStringLiteral("Setup"),
         QStringLiteral("Estimate"), QStringLiteral("95 % interval"), QStringLiteral("Pulses")});
    runs->setToolTip(QStringLiteral("Choose a run to open its report"));
    plot = new ThresholdPlot(this);
    status = new QLabel(this);
    exportButton = new QPushButton(QStringLiteral("Export CSV\u2026"), this);
    exportButton->setObjectName(QStringLiteral("ExportPatient"));
    eraseButton = new QPushButton(QStringLiteral("Erase\u2026"), this);
    eraseButton->setObjectName(QStringLiteral("ErasePatient"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);

    auto* theirs = new QSplitter(Qt::Vertical, this);
    theirs->addWidget(runs);
    theirs->addWidget(plot);
    auto* sides = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(sides);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(find);
    leftLayout->addWidget(patients);
    sides->addWidget(left);
    sides->addWidget(theirs);
    sides->setSizes({330, 570});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status, 1);
    buttons->addWidget(exportButton);
    buttons->addWidget(eraseButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sides, 1);
    layout->addLayout(buttons);

    connect(find, &QLineEdit::textChanged, this, [this] { listPatients(); });
    connect(patients, &QTableWidget::itemSelectionChanged, this, [this] { showPatient(); });
    connect(runs, &QTableWidget::itemSelectionChanged, this, [this] { showSelectedReport(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(eraseButton, &QPushButton::clicked, this, [this] { erase(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void PatientsWindow::refresh() {
    journal_.reset();
    if (writer_ != nullptr && !writer_->ended()) {
        journal_ = RunJournal::open(writer_->path(), RunJournal::Access::Read).journal;
    }
    all_ = journal_ != nullptr ? journal_->runs() : std::vector<JournalRun>{};
    everyone_ = summarisePatients(all_);
    listPatients();
}

void PatientsWindow::listPatients() {
    const std::string sought = trimSpaces(find->text().toStdString());
    listed_.clear();
    std::ranges::copy_if(everyone_, std::back_inserter(listed_),
                         [&sought](const PatientSummary& p) {
                             return sought.empty() || mentionsCode(p.code, sought);
                         });
    const QSignalBlocker quiet(patients);
    patients->clearContents();
    patients->setRowCount(static_cast<int>(listed_.size()));
    for (int row = 0; row < patients->rowCount(); ++row) {
        const PatientSummary& p = listed_[static_cast<std::size_t>(row)];
        patients->setItem(row, kCode, fixedItem(qt(p.code)));
        patients->setItem(row, kRuns, fixedItem(QString::number(p.runs)));
        patients->setItem(row, kLastRmt,
                          fixedItem(p.lastEstimate ? qt(formatMask(*p.lastEstimate, "0.00"))
                                                   : QStringLiteral("--")));
        patients->setItem(row, kLastDate, fixedItem(dateOf(p.lastEstimateStarted)));
        patients->setItem(row, kLastSetup, fixedItem(qt(describeSetup(p.lastSetup))));
    }
    patients->resizeColumnsToContents();
    status->setText(journal_ == nullptr
                        ? QStringLiteral("No journal: runs are not being kept.")
                        : QStringLiteral("%1 of %2 listed")
                              .arg(listed_.size())
                              .arg(everyone_.size() == 1
                                       ? QStringLiteral("1 patient")
                                       : QStringLiteral("%1 patients").arg(everyone_.size())));
    if (listed_.size() == 1) {
        patients->selectRow(0);
    }
    showPatient();
}

const PatientSummary* PatientsWindow::chosen() const {
    const QModelIndexList rows = patients->selectionModel()->selectedRows();
    return rows.size() == 1 && rows.front().row() < static_cast<int>(listed_.size())
               ? &listed_[static_cast<std::size_t>(rows.front().row())]
               : nullptr;
}

void PatientsWindow::showPatient() {
    const PatientSummary* patient = chosen();
    theirs_ = patient != nullptr ? runsOfPatient(all_, patient->code) : std::vector<JournalRun>{};
    const QSignalBlocker quiet(runs);
    runs->clearContents();
    runs->setRowCount(static_cast<int>(theirs_.size()));
    for (int row = 0; row < runs->rowCount(); ++row) {
        const JournalRun& run = theirs_[static_cast<std::size_t>(row)];
        runs->setItem(row, kWhen, fixedItem(startedCell(run)));
        runs->setItem(row, kMethod, fixedItem(qt(methodName(run.method))));
        runs->setItem(row, kSetup, fixedItem(qt(describeSetup(run.setup))));
        runs->setItem(
            row, kEstimate,
            fixedItem(run.ended.empty() ? QStringLiteral("not reached") : estimateCell(run)));
        runs->setItem(row, kInterval, fixedItem(intervalCell(run)));
        runs->setItem(row, kPulses, fixedItem(pulsesCell(run)));
    }
    runs->resizeColumnsToContents();
    plot->show(theirs_);
    exportButton->setEnabled(patient != nullptr);
    eraseButton->setEnabled(patient != nullptr);
}

void PatientsWindow::showSelectedReport() {
    const QModelIndexList rows = runs->selectionModel()->selectedRows();
    if (rows.size() != 1 || journal_ == nullptr) {
        return;
    }
    const JournalRun& run = theirs_[static_cast<std::size_t>(rows.front().row())];
    showReport_(reportFromJournal(run, journal_->answers(run.id)));
    raise();
    activateWindow();
}

void PatientsWindow::exportCsv() {
    const PatientSummary* patient = chosen();
    if (patient != nullptr && journal_ != nullptr) {
        exportRunsCsv(this, dialogs_, *journal_, theirs_,
                      QStringLiteral("limenta-%1.csv").arg(qt(safeFileName(patient->code))));
    }
}

void PatientsWindow::erase() {
    const PatientSummary* patient = chosen();
    if (patient == nullptr || writer_ == nullptr) {
        return;
    }
    const std::string code = patient->code;
    if (samePatient(running_(), code)) {
        dialogs_.message(this, QStringLiteral("%1 cannot be erased while their run is under way: "
                                              "press Reset first.")
                                   .arg(qt(code)));
        return;
    }
    const std::vector<JournalRun> erased = runsToErase(all_, code);
    const QStringList damaged = RunJournal::damagedCopies(writer_->path());
    EraseDialog confirm(this, qt(code), erased, damaged);
    if (dialogs_.runModal(confirm) != QDialog::Accepted ||
        !samePatient(trimSpaces(confirm.typed->text().toStdString()), code)) {
        return;
    }
    const JournalWriter::Erasure done = writer_->erase(code, erased);
    QStringList undeleted;
    if (done.erased && confirm.deleteDamagedCopies()) {
        for (const QString& path : damaged) {
            if (QFile::exists(path) && !QFile::remove(path)) {
                undeleted << path;
            }
        }
    }
    refresh();
    if (!done.erased) {
        dialogs_.message(this, QStringLiteral("Nothing was erased: the run journal could not be "
                                              "changed because %1. Try again in a moment.")
                                   .arg(done.problem));
    } else if (!done.complete || !undeleted.isEmpty()) {
        dialogs_.message(
            this, QStringLiteral("The erasure of %1 is not complete. %2")
                      .arg(qt(code),
                           !done.complete
                               ? QStringLiteral("Another program is reading the run journal, so "
                                                "erased bytes may remain in its log until it lets "
                                                "go; Limenta finishes the erasure as soon as it "
                                                "can, and at its next start.")
                               : QStringLiteral("These files could not be deleted: %1.")
                                     .arg(undeleted.join(QStringLiteral(", ")))));
    } else {
        dialogs_.message(this, QStringLiteral("%1 is erased: nothing of them is left in the run "
                                              "journal's files.")
                                   .arg(qt(code)));
    }
}

}  // namespace limenta
