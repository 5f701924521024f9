// The journal: every run and every answer kept as the window takes them, and the question
// before quitting a run.
#include <QCloseEvent>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QUuid>

#include "gui/journal/past_runs_window.h"
#include "gui/main_window/window1.h"

namespace limenta {

QString Window1::journalTime() const {
    const QDateTime now = platform_.clocks.currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate);
}

bool Window1::journalled() const {
    return journal_ != nullptr && !journal_->ended() && !journalRun_.uid.isEmpty();
}

void Window1::journalRunStarted() {
    journalRun_ = JournalRun();
    if (journal_ == nullptr || journal_->ended()) {
        return;
    }
    const bool ml = activeMethod() == Method::MlPest;
    QJsonObject settings;
    settings.insert(QStringLiteral("method"), methodKey(activeMethod()));
    settings.insert(ml ? QStringLiteral("lower_bound") : QStringLiteral("initial_output"),
                    EditField1->text());
    settings.insert(ml ? QStringLiteral("upper_bound") : QStringLiteral("step_size"),
                    EditField4->text());
    settings.insert(ml ? QStringLiteral("spread") : QStringLiteral("diff_threshold"),
                    ml ? QString::number(runspread) : EditField3->text());
    if (ml) {
        settings.insert(QStringLiteral("diff_threshold"), mydiff2);
    }
    journalRun_.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    journalRun_.started = journalTime();
    journalRun_.method = activeMethod();
    journalRun_.settings =
        QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact));
    journal_->write(JournalWrite::start(journalRun_));
}

void Window1::journalAnswerTaken(std::int32_t answer, double next) {
    if (!journalled()) {
        return;
    }
    const JournalAnswer row{stepnum, lastsetting, answer, next, thediff, journalTime()};
    if (estimateShown_) {
        journalRun_.ended = row.at;
        journalRun_.estimate = myrmt;
    }
    keepRunShown();
    // The answer and the run's row as it now stands: one transaction.
    journal_->write(JournalWrite::taken(journalRun_, row));
}

void Window1::journalRunUpdated() {
    if (!journalled()) {
        return;
    }
    keepRunShown();
    journal_->write(JournalWrite::update(journalRun_));
}

void Window1::keepRunShown() {
    if (const auto interval = runInterval()) {
        journalRun_.intervalLow = interval->low;
        journalRun_.intervalHigh = interval->high;
    }
    journalRun_.percents = {PopupMenu1->currentIndex(), PopupMenu2->currentIndex(),
                            PopupMenu3->currentIndex()};
    journalRun_.m1Distance = EditField7->text();
    journalRun_.targetDistance = EditField6->text();
}

void Window1::closeEvent(QCloseEvent* event) {
    if (runInProgress()) {
        const QString kept =
            journalled()
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
