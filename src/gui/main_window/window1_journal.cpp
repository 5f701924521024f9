// The journal: every run and every answer kept as the window takes them, and the question
// before quitting a run.
#include <QCloseEvent>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>

#include "gui/journal/past_runs_window.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/notices.h"

namespace limenta {

void Window1::setJournal(RunJournal* journal, const QString& notice) {
    journal_ = journal;
    if (!notice.isEmpty()) {
        tell(notice);
    }
}

QString Window1::journalTime() const {
    const QDateTime now = platform_.clocks.currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate);
}

void Window1::journalFailed() {
    // The assessment goes on; the operator is told once.
    tell(QLatin1String(notice::kJournalFailed).arg(journal_->lastProblem()));
    journal_ = nullptr;
    journalRun_ = JournalRun();
}

void Window1::journalRunStarted() {
    journalRun_ = JournalRun();
    if (journal_ == nullptr) {
        return;
    }
    const bool ml = activeMethod() == Method::MlPest;
    QJsonObject settings;
    settings.insert(QStringLiteral("method"), ml ? QStringLiteral("ml") : QStringLiteral("pest"));
    settings.insert(ml ? QStringLiteral("lower_bound") : QStringLiteral("initial_output"),
                    EditField1->text());
    settings.insert(ml ? QStringLiteral("upper_bound") : QStringLiteral("step_size"),
                    EditField4->text());
    settings.insert(ml ? QStringLiteral("spread") : QStringLiteral("diff_threshold"),
                    ml ? QString::number(runspread) : EditField3->text());
    if (ml) {
        settings.insert(QStringLiteral("diff_threshold"), mydiff2);
    }
    journalRun_.started = journalTime();
    journalRun_.method = activeMethod();
    journalRun_.settings =
        QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact));
    const std::optional<qint64> id =
        journal_->startRun(journalRun_.started, journalRun_.method, journalRun_.settings);
    if (!id) {
        journalFailed();
        return;
    }
    journalRun_.id = *id;
}

void Window1::journalAnswerTaken(std::int32_t answer, double next) {
    if (journal_ == nullptr || journalRun_.id == 0) {
        return;
    }
    const JournalAnswer row{stepnum, lastsetting, answer, next, thediff, journalTime()};
    if (!journal_->addAnswer(journalRun_.id, row)) {
        journalFailed();
        return;
    }
    if (estimateShown_) {
        journalRun_.ended = row.at;
        journalRun_.estimate = myrmt;
    }
    journalRunUpdated();
}

void Window1::journalRunUpdated() {
    if (journal_ == nullptr || journalRun_.id == 0) {
        return;
    }
    if (const auto interval = runInterval()) {
        journalRun_.intervalLow = interval->low;
        journalRun_.intervalHigh = interval->high;
    }
    journalRun_.percents = {PopupMenu1->currentIndex(), PopupMenu2->currentIndex(),
                            PopupMenu3->currentIndex()};
    journalRun_.m1Distance = EditField7->text();
    journalRun_.targetDistance = EditField6->text();
    if (!journal_->updateRun(journalRun_)) {
        journalFailed();
    }
}

void Window1::closeEvent(QCloseEvent* event) {
    if (runInProgress()) {
        const QString kept =
            journal_ != nullptr && journalRun_.id != 0
                ? QStringLiteral("It is kept in Past Runs.")
                : QStringLiteral("Its answers will be lost unless you print or save the report.");
        if (!platform_.dialogs.ask(this,
                                   QStringLiteral("A run is in progress. Quit anyway? ") + kept,
                                   QStringLiteral("Quit"), QStringLiteral("Cancel"))) {
            event->ignore();
            return;
        }
        journalRunUpdated();
    }
    event->accept();
}

void Window1::showPastRuns() {
    if (pastRuns_ == nullptr) {
        pastRuns_ = new PastRunsWindow(this, journal_, platform_.dialogs,
                                       [this](const QString& report) { showReport(report); });
    }
    pastRuns_->refresh();
    pastRuns_->show();
    pastRuns_->raise();
    pastRuns_->activateWindow();
}

}  // namespace limenta
