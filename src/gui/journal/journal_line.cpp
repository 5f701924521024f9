#include "gui/journal/journal_line.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace limenta {

namespace {

QJsonValue optional(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

std::optional<double> optionalOf(const QJsonValue& value) {
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

std::string stdText(const QJsonValue& value) {
    return value.toString().toStdString();
}

QJsonObject runObject(const JournalRun& r) {
    return {{"uid", qtText(r.uid)},
            {"started", qtText(r.started)},
            {"ended", qtText(r.ended)},
            {"method", qtText(r.method)},
            {"settings", qtText(r.settings)},
            {"estimate", optional(r.estimate)},
            {"above_100", r.aboveMaximum},
            {"interval_low", optional(r.intervalLow)},
            {"interval_high", optional(r.intervalHigh)},
            {"report", qtText(r.report)},
            {"percents", QJsonArray{r.percents[0], r.percents[1], r.percents[2]}},
            {"m1_distance", qtText(r.m1Distance)},
            {"target_distance", qtText(r.targetDistance)},
            {"practice", r.practice},
            {"true_threshold", optional(r.trueThreshold)},
            {"patient", qtText(r.patient)},
            {"hemisphere", qtText(std::string(hemisphereWord(r.setup.hemisphere)))},
            {"muscle", qtText(r.setup.muscle)},
            {"coil", qtText(r.setup.coil)},
            {"stimulator", qtText(r.setup.stimulator)},
            {"judged", qtText(std::string(judgedWord(r.setup.judged)))}};
}

JournalRun runOf(const QJsonObject& o) {
    JournalRun r;
    r.uid = stdText(o.value(QLatin1String("uid")));
    r.started = stdText(o.value(QLatin1String("started")));
    r.ended = stdText(o.value(QLatin1String("ended")));
    r.method = stdText(o.value(QLatin1String("method")));
    r.settings = stdText(o.value(QLatin1String("settings")));
    r.estimate = optionalOf(o.value(QLatin1String("estimate")));
    r.aboveMaximum = o.value(QLatin1String("above_100")).toBool();
    r.intervalLow = optionalOf(o.value(QLatin1String("interval_low")));
    r.intervalHigh = optionalOf(o.value(QLatin1String("interval_high")));
    r.report = stdText(o.value(QLatin1String("report")));
    const QJsonArray percents = o.value(QLatin1String("percents")).toArray();
    for (qsizetype j = 0; j < 3 && j < percents.size(); ++j) {
        r.percents[static_cast<std::size_t>(j)] = percents[j].toInt();
    }
    r.m1Distance = stdText(o.value(QLatin1String("m1_distance")));
    r.targetDistance = stdText(o.value(QLatin1String("target_distance")));
    r.practice = o.value(QLatin1String("practice")).toBool();
    r.trueThreshold = optionalOf(o.value(QLatin1String("true_threshold")));
    r.patient = stdText(o.value(QLatin1String("patient")));
    r.setup.hemisphere = hemisphereOf(stdText(o.value(QLatin1String("hemisphere"))));
    r.setup.muscle = stdText(o.value(QLatin1String("muscle")));
    r.setup.coil = stdText(o.value(QLatin1String("coil")));
    r.setup.stimulator = stdText(o.value(QLatin1String("stimulator")));
    r.setup.judged = judgedOf(stdText(o.value(QLatin1String("judged"))));
    return r;
}

constexpr std::array<const char*, 5> kKinds{"start", "answer", "update", "note", "withdraw"};

}  // namespace

QByteArray journalLine(const JournalWrite& write) {
    QJsonObject o{{"kind", kKinds[static_cast<std::size_t>(write.kind)]},
                  {"run", runObject(write.run)}};
    const JournalAnswer& a = write.answer;
    if (write.kind == JournalWrite::Kind::Answer || write.kind == JournalWrite::Kind::Withdraw) {
        o.insert(QLatin1String("answer"), QJsonObject{{"trial", a.trial},
                                                      {"fired", a.fired},
                                                      {"answer", a.answer},
                                                      {"next", a.next},
                                                      {"diff", a.diff},
                                                      {"at", qtText(a.at)},
                                                      {"seq", a.seq},
                                                      {"withdrawn_at", qtText(a.withdrawnAt)}});
    }
    if (write.kind == JournalWrite::Kind::Note) {
        o.insert(QLatin1String("note_run"), static_cast<qint64>(write.noteRun));
        o.insert(QLatin1String("note"), qtText(write.note));
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<JournalWrite> journalWriteOf(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject o = document.object();
    const QString kind = o.value(QLatin1String("kind")).toString();
    JournalWrite w;
    std::size_t k = 0;
    while (k < kKinds.size() && kind != QLatin1String(kKinds[k])) {
        ++k;
    }
    if (k == kKinds.size()) {
        return std::nullopt;
    }
    w.kind = static_cast<JournalWrite::Kind>(k);
    w.run = runOf(o.value(QLatin1String("run")).toObject());
    const QJsonObject a = o.value(QLatin1String("answer")).toObject();
    w.answer.trial = a.value(QLatin1String("trial")).toInt();
    w.answer.fired = a.value(QLatin1String("fired")).toDouble();
    w.answer.answer = a.value(QLatin1String("answer")).toInt();
    w.answer.next = a.value(QLatin1String("next")).toDouble();
    w.answer.diff = a.value(QLatin1String("diff")).toDouble();
    w.answer.at = stdText(a.value(QLatin1String("at")));
    w.answer.seq = a.value(QLatin1String("seq")).toInt();
    w.answer.withdrawnAt = stdText(a.value(QLatin1String("withdrawn_at")));
    w.noteRun = o.value(QLatin1String("note_run")).toInteger();
    w.note = stdText(o.value(QLatin1String("note")));
    return w;
}

}  // namespace limenta
