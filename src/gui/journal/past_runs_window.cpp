#include "gui/journal/past_runs_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "gui/journal/journal_export.h"
#include "gui/journal/run_cells.h"

namespace limenta {

PastRunsWindow::PastRunsWindow(QWidget* parent, JournalWriter* writer, Dialogs& dialogs,
                               std::function<void(const QString&)> showReport)
    : QDialog(parent), writer_(writer), dialogs_(dialogs), showReport_(std::move(showReport)) {
    setObjectName(QStringLiteral("PastRunsWindow"));
    setWindowTitle(QStringLiteral("Past Runs"));
    resize(760, 420);
    table = new QTableWidget(0, kColumns, this);
    table->setObjectName(QStringLiteral("PastRunsTable"));
    table->setHorizontalHeaderLabels({QStringLiteral("Date and time"), QStringLiteral("Method"),
                                      QStringLiteral("Estimate"), QStringLiteral("95 % interval"),
                                      QStringLiteral("Pulses"), QStringLiteral("Note")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    status = new QLabel(this);
    showPractice = new QCheckBox(QStringLiteral("Show practice runs"), this);
    showPractice->setObjectName(QStringLiteral("ShowPracticeRuns"));
    exportButton = new QPushButton(QStringLiteral("Export CSV..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status, 1);
    buttons->addWidget(showPractice);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addLayout(buttons);
    connect(table, &QTableWidget::itemSelectionChanged, this, [this] { showSelectedReport(); });
    connect(table, &QTableWidget::cellChanged, this,
            [this](int row, int column) { noteEdited(row, column); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(showPractice, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void PastRunsWindow::refresh() {
    journal_.reset();
    if (writer_ != nullptr && !writer_->ended()) {
        journal_ = RunJournal::open(writer_->path(), RunJournal::Access::Read).journal;
    }
    runs_ = journal_ != nullptr ? journal_->runs() : std::vector<JournalRun>{};
    const auto hidden =
        showPractice->isChecked()
            ? 0
            : std::erase_if(runs_, [](const JournalRun& run) { return run.practice; });
    const auto count = [](std::size_t n, const char* what) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(what),
                                                    n == 1 ? QString() : QStringLiteral("s"));
    };
    status->setText(
        journal_ == nullptr ? QStringLiteral("No journal: runs are not being kept.")
        : hidden == 0
            ? QStringLiteral("%1; the note is yours to edit.").arg(count(runs_.size(), "run"))
            : QStringLiteral("%1, and %2 not shown; the note is yours to edit.")
                  .arg(count(runs_.size(), "run"), count(hidden, "practice run")));
    exportButton->setEnabled(!runs_.empty());
    filling_ = true;
    table->clearContents();
    table->setRowCount(static_cast<int>(runs_.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const JournalRun& run = runs_[static_cast<std::size_t>(row)];
        table->setItem(row, kWhen, fixedItem(startedCell(run)));
        table->setItem(row, kMethod,
                       fixedItem(QString::fromStdString(methodName(run.method)) +
                                 (run.practice ? QStringLiteral(" \u2013 practice") : QString())));
        table->setItem(row, kEstimate, fixedItem(estimateCell(run)));
        table->setItem(row, kInterval, fixedItem(intervalCell(run)));
        table->setItem(row, kPulses, fixedItem(pulsesCell(run)));
        table->setItem(row, kNote, new QTableWidgetItem(QString::fromStdString(run.note)));
    }
    table->resizeColumnsToContents();
    filling_ = false;
}

void PastRunsWindow::noteEdited(int row, int column) {
    if (filling_ || column != kNote || journal_ == nullptr) {
        return;
    }
    JournalRun& run = runs_[static_cast<std::size_t>(row)];
    run.note = table->item(row, column)->text().toStdString();
    writer_->write(JournalWrite::noted(run.id, run.note));
}

std::vector<JournalRun> PastRunsWindow::selectedRuns() const {
    std::set<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
        rows.insert(index.row());
    }
    std::vector<JournalRun> chosen;
    for (const int row : rows) {
        chosen.push_back(runs_[static_cast<std::size_t>(row)]);
    }
    return chosen;
}

void PastRunsWindow::showSelectedReport() {
    const std::vector<JournalRun> chosen = selectedRuns();
    if (chosen.size() != 1 || journal_ == nullptr) {
        return;
    }
    const JournalRun& run = chosen.front();
    // Composed afresh every time: a copy stored earlier in the run may have gone stale.
    showReport_(reportFromJournal(run, journal_->answers(run.id)));
    // The operator may go on to type a note here: the keyboard stays with this window.
    raise();
    activateWindow();
}

void PastRunsWindow::exportCsv() {
    if (journal_ == nullptr) {
        return;
    }
    std::vector<JournalRun> chosen = selectedRuns();
    if (chosen.empty()) {
        chosen = runs_;
    }
    exportRunsCsv(this, dialogs_, *journal_, chosen, QStringLiteral("limenta-runs.csv"));
}

}  // namespace limenta
