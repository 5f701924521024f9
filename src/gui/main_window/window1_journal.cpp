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
#include "gui/practice/practice_window.h"

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
    keptAnswers_.clear();
    if (journal_ == nullptr || journal_->ended()) {
        return;
    }
    const Method& method = run_->method();
    // The settings that describe the run, as it states them; a preference without a field
    // as the number it is.
    QJsonObject settings;
    settings.insert(QStringLiteral("method"), QLatin1String(method.key));
    for (const Parameter& parameter : method.parameters) {
        if (parameter.journalKey != nullptr) {
            settings.insert(QLatin1String(parameter.journalKey),
                            parameter.form == ValueForm::Number
                                ? QJsonValue(run_->settings().number(parameter))
                                : QJsonValue(QString::fromStdString(run_->stated(parameter))));
        }
    }
    journalRun_.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    journalRun_.started = journalTime();
    journalRun_.method = QString::fromLatin1(method.key);
    journalRun_.settings =
        QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact));
    if (practising()) {
        journalRun_.practice = true;
        journalRun_.trueThreshold = practice_->threshold();
    }
    journal_->write(JournalWrite::start(journalRun_));
}

void Window1::journalAnswerTaken(std::int32_t answer, double next) {
    if (!journalled()) {
        return;
    }
    const Procedure& s = run_->state();
    // Its place among every answer the run was given, those taken back too.
    const auto seq = static_cast<int>(run_->trials().size() + run_->withdrawn().size());
    const JournalAnswer row{s.stepnum, s.lastsetting, answer, next,
                            s.thediff, journalTime(), seq,    QString()};
    keptAnswers_.push_back(row);
    followRunEnd();
    keepRunShown();
    // The answer and the run's row as it now stands: one transaction.
    journal_->write(JournalWrite::taken(journalRun_, row));
}

void Window1::journalAnswerWithdrawn() {
    if (!journalled() || keptAnswers_.empty()) {
        return;
    }
    JournalAnswer row = keptAnswers_.back();
    row.withdrawnAt = journalTime();
    keptAnswers_.pop_back();
    followRunEnd();
    keepRunShown();
    journal_->write(JournalWrite::withdrawn(journalRun_, row));
}

void Window1::followRunEnd() {
    // The run's end as it now stands, both ways: an answer may end it, again or no longer,
    // and taking one back may too. It ended with the latest kept answer that reached it.
    journalRun_.estimate = run_->estimate();
    journalRun_.aboveMaximum = run_->aboveMaximum();
    journalRun_.ended.clear();
    if (!journalRun_.estimate && !journalRun_.aboveMaximum) {
        return;
    }
    const std::vector<TrialRecord>& trials = run_->trials();
    for (std::size_t i = trials.size(); i-- > 0;) {
        if (trials[i].reached && i < keptAnswers_.size()) {
            journalRun_.ended = keptAnswers_[i].at;
            return;
        }
    }
}

void Window1::journalRunUpdated() {
    if (!journalled()) {
        return;
    }
    keepRunShown();
    journal_->write(JournalWrite::update(journalRun_));
}

void Window1::keepRunShown() {
    if (const auto interval = run_->interval()) {
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
    if (practiceWindow_ != nullptr) {
        practiceWindow_->close();
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
