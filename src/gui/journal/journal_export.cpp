#include "gui/journal/journal_export.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <iterator>

#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "core/display/quick_reference.h"
#include "core/procedure/credible_interval.h"
#include "core/report/report_text.h"
#include "core/run/methods.h"

namespace limenta {

namespace {

std::string jsonText(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? value.toString().toStdString()
                            : plainDecimal(value.toDouble());  // a number
}

// A text cell, made safe for a spreadsheet and quoted as RFC 4180 asks. A spreadsheet takes
// a cell that begins with = + - @, a tab or a carriage return for a formula, which could
// fetch or run anything: such a cell begins with an apostrophe instead, shown as text.
QString csvField(QString text) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && kFormulaStarts.contains(text.front())) {
        text.prepend(QLatin1Char('\''));
    }
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString number(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 17) : QString();
}

}  // namespace

QString methodName(const QString& key) {
    const Method* method = findMethod(methods(), key.toStdString());
    return method != nullptr ? QString::fromLatin1(method->name)
                             : QStringLiteral("unknown (%1)").arg(key);
}

QString reportFromJournal(const JournalRun& run, const std::vector<JournalAnswer>& given) {
    // The answers kept, in order; those taken back are only counted.
    std::vector<JournalAnswer> answers;
    std::copy_if(given.begin(), given.end(), std::back_inserter(answers),
                 [](const JournalAnswer& a) { return a.withdrawnAt.isEmpty(); });
    const QJsonObject settings = QJsonDocument::fromJson(run.settings.toUtf8()).object();
    const Method* method = findMethod(methods(), run.method.toStdString());
    ReportInputs in;
    in.stage = run.estimate || run.aboveMaximum ? RunStage::Reached : RunStage::InProgress;
    in.aboveMaximum = run.aboveMaximum;
    const QDateTime started = QDateTime::fromString(run.started, Qt::ISODate).toLocalTime();
    const QLocale locale;
    in.mydate = locale.toString(started.date(), QLocale::LongFormat).toStdString();
    in.mytime = locale.toString(started.time(), QLocale::LongFormat).toStdString();
    if (!run.ended.isEmpty()) {
        in.totaltime = static_cast<double>(
            started.secsTo(QDateTime::fromString(run.ended, Qt::ISODate).toLocalTime()));
    }
    in.method =
        method != nullptr ? std::string(method->reportName) : methodName(run.method).toStdString();
    if (method != nullptr) {
        for (const Parameter& parameter : method->parameters) {
            if (parameter.reportLabel != nullptr && parameter.journalKey != nullptr) {
                in.settings.emplace_back(parameter.reportLabel,
                                         jsonText(settings, parameter.journalKey));
            }
        }
    }
    const double shown = run.estimate ? *run.estimate : answers.empty() ? 0 : answers.back().next;
    in.threshold = formatMask(roundHalfAway(shown), "##0");
    if (run.intervalLow && run.intervalHigh) {
        const CredibleInterval interval{*run.intervalLow, 0, *run.intervalHigh};
        in.interval =
            std::to_string(interval.shownLow()) + " to " + std::to_string(interval.shownHigh());
    }
    const double factor = depthFactor(textToNumber(run.targetDistance.toStdString()),
                                      textToNumber(run.m1Distance.toStdString()));
    const double rmt = run.estimate.value_or(0);
    for (std::size_t j = 0; j < 3; ++j) {
        in.percents[j] = std::to_string(run.percents[j]) + "%";
        in.plain[j] = quickReference(rmt, run.percents[j]).reported();
        in.corrected[j] = correctedReference(rmt, factor, run.percents[j]).reported();
    }
    in.m1Distance = run.m1Distance.toStdString();
    in.targetDistance = run.targetDistance.toStdString();
    in.historyHeader = kHistoryHeader;
    in.withdrawn = given.size() - answers.size();
    in.practice = run.practice;
    for (std::size_t i = answers.size(); i-- > 0;) {  // newest first
        const JournalAnswer& a = answers[i];
        in.history += historyLine({a.trial, a.fired, a.answer, a.next, a.diff});
    }
    return QString::fromStdString(composeReport(in));
}

QString journalCsv(const RunJournal& journal, const std::vector<JournalRun>& runs) {
    QString csv = QStringLiteral(
        "run_id,started,ended,method,settings,estimate,interval_low,interval_high,note,"
        "trial,fired,answer,next,diff,at,above_100,withdrawn_at,practice,true_threshold\r\n");
    for (const JournalRun& run : runs) {
        const QStringList runColumns{
            QString::number(run.id), csvField(run.started),    csvField(run.ended),
            csvField(run.method),    csvField(run.settings),   number(run.estimate),
            number(run.intervalLow), number(run.intervalHigh), csvField(run.note)};
        // The columns added with the journal's later versions come last in every row, in
        // the order they were added: above_100 (4), withdrawn_at (5), practice and
        // true_threshold (6).
        const QString above = run.aboveMaximum ? QStringLiteral(",1") : QStringLiteral(",0");
        const QString practice = (run.practice ? QStringLiteral(",1,") : QStringLiteral(",0,")) +
                                 number(run.trueThreshold) + QStringLiteral("\r\n");
        const std::vector<JournalAnswer> answers = journal.answers(run.id);
        if (answers.empty()) {
            csv += runColumns.join(QLatin1Char(',')) + QStringLiteral(",,,,,,") + above +
                   QLatin1Char(',') + practice;
        }
        for (const JournalAnswer& a : answers) {
            csv += runColumns.join(QLatin1Char(',')) + QLatin1Char(',') +
                   QStringList{QString::number(a.trial),         QString::number(a.fired, 'g', 17),
                               QString::number(a.answer),        QString::number(a.next, 'g', 17),
                               QString::number(a.diff, 'g', 17), csvField(a.at)}
                       .join(QLatin1Char(',')) +
                   above + QLatin1Char(',') + csvField(a.withdrawnAt) + practice;
        }
    }
    return csv;
}

}  // namespace limenta
