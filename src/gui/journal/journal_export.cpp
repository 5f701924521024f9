#include "gui/journal/journal_export.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

#include "core/files/whole_file.h"
#include "core/numbers/numbers.h"
#include "core/run/methods.h"
#include "gui/platform/file_type.h"

namespace limenta {

namespace {

// A text cell, made safe for a spreadsheet and quoted as RFC 4180 asks. A spreadsheet takes
// a cell that begins with = + - @, a tab or a carriage return for a formula, which could
// fetch or run anything: such a cell begins with an apostrophe instead, shown as text.
QString csvField(const std::string& cell) {
    QString text = QString::fromStdString(cell);
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

ReportedRun reportedRun(const JournalRun& run, const std::vector<JournalAnswer>& given) {
    ReportedRun r;
    // The answers kept, in order; those taken back are only counted.
    for (const JournalAnswer& a : given) {
        if (a.withdrawnAt.empty()) {
            r.answers.push_back(a);
        }
    }
    r.withdrawn = given.size() - r.answers.size();
    r.stage = run.estimate || run.aboveMaximum ? RunStage::Reached : RunStage::InProgress;
    r.method = run.method;
    // Each setting the journal names, by its parameter's key.
    const QJsonObject settings =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.settings)).object();
    if (const Method* method = findMethod(methods(), run.method)) {
        for (const Parameter& parameter : method->parameters) {
            const QJsonValue value = parameter.journalKey != nullptr
                                         ? settings.value(QLatin1String(parameter.journalKey))
                                         : QJsonValue(QJsonValue::Undefined);
            if (!value.isUndefined()) {
                r.settings[parameter.key] = value.isString() ? value.toString().toStdString()
                                                             : plainDecimal(value.toDouble());
            }
        }
    }
    const QDateTime started =
        QDateTime::fromString(QString::fromStdString(run.started), Qt::ISODate).toLocalTime();
    const QLocale locale;
    r.mydate = locale.toString(started.date(), QLocale::LongFormat).toStdString();
    r.mytime = locale.toString(started.time(), QLocale::LongFormat).toStdString();
    if (!run.ended.empty()) {
        r.totaltime = static_cast<double>(started.secsTo(
            QDateTime::fromString(QString::fromStdString(run.ended), Qt::ISODate).toLocalTime()));
    }
    r.next = run.estimate ? *run.estimate : r.answers.empty() ? 0 : r.answers.back().next;
    r.estimate = run.estimate;
    r.aboveMaximum = run.aboveMaximum;
    if (run.intervalLow && run.intervalHigh) {
        r.interval = CredibleInterval{*run.intervalLow, 0, *run.intervalHigh};
    }
    r.percents = run.percents;
    r.m1Distance = run.m1Distance;
    r.targetDistance = run.targetDistance;
    r.practice = run.practice;
    r.patient = run.patient;
    r.setup = run.setup;
    return r;
}

QString reportFromJournal(const JournalRun& run, const std::vector<JournalAnswer>& given) {
    return QString::fromStdString(composeReport(reportInputs(reportedRun(run, given))));
}

QString journalCsv(const RunJournal& journal, const std::vector<JournalRun>& runs) {
    QString csv = QStringLiteral(
        "run_id,started,ended,method,settings,estimate,interval_low,interval_high,note,"
        "trial,fired,answer,next,diff,at,above_100,withdrawn_at,practice,true_threshold,patient,"
        "hemisphere,muscle,coil,stimulator,judged\r\n");
    for (const JournalRun& run : runs) {
        const QStringList runColumns{
            QString::number(run.id), csvField(run.started),    csvField(run.ended),
            csvField(run.method),    csvField(run.settings),   number(run.estimate),
            number(run.intervalLow), number(run.intervalHigh), csvField(run.note)};
        // The columns added with the journal's later versions come last in every row, in
        // the order they were added: above_100 (4), withdrawn_at (5), practice and
        // true_threshold (6), the patient and the setup (7).
        const QString above = run.aboveMaximum ? QStringLiteral(",1") : QStringLiteral(",0");
        const Setup& s = run.setup;
        const QString practice =
            (run.practice ? QStringLiteral(",1,") : QStringLiteral(",0,")) +
            number(run.trueThreshold) + QLatin1Char(',') +
            QStringList{csvField(run.patient),  csvField(std::string(hemisphereWord(s.hemisphere))),
                        csvField(s.muscle),     csvField(s.coil),
                        csvField(s.stimulator), csvField(std::string(judgedWord(s.judged)))}
                .join(QLatin1Char(',')) +
            QStringLiteral("\r\n");
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

void exportRunsCsv(QWidget* parent, Dialogs& dialogs, const RunJournal& journal,
                   const std::vector<JournalRun>& runs, const QString& defaultName) {
    QString path = dialogs.saveFileName(parent, defaultName, kCsvFileType);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    const QByteArray bytes = journalCsv(journal, runs).toUtf8();
    const WriteOutcome written =
        writeWholeFile(path.toStdString(), std::string_view(bytes.constData(), bytes.size()),
                       LinkPolicy::WriteTarget);
    if (!written.written) {
        dialogs.message(parent, QStringLiteral("Limenta could not export the runs as %1: %2.")
                                    .arg(path, QString::fromStdString(written.problem)));
    }
}

}  // namespace limenta
