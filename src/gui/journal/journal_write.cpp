#include "gui/journal/journal_write.h"

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

QJsonObject runObject(const JournalRun& r) {
    return {{"uid", r.uid},
            {"started", r.started},
            {"ended", r.ended},
            {"method", r.method},
            {"settings", r.settings},
            {"estimate", optional(r.estimate)},
            {"above_100", r.aboveMaximum},
            {"interval_low", optional(r.intervalLow)},
            {"interval_high", optional(r.intervalHigh)},
            {"report", r.report},
            {"percents", QJsonArray{r.percents[0], r.percents[1], r.percents[2]}},
            {"m1_distance", r.m1Distance},
            {"target_distance", r.targetDistance},
            {"practice", r.practice},
            {"true_threshold", optional(r.trueThreshold)}};
}

JournalRun runOf(const QJsonObject& o) {
    JournalRun r;
    r.uid = o.value(QLatin1String("uid")).toString();
    r.started = o.value(QLatin1String("started")).toString();
    r.ended = o.value(QLatin1String("ended")).toString();
    r.method = o.value(QLatin1String("method")).toString();
    r.settings = o.value(QLatin1String("settings")).toString();
    r.estimate = optionalOf(o.value(QLatin1String("estimate")));
    r.aboveMaximum = o.value(QLatin1String("above_100")).toBool();
    r.intervalLow = optionalOf(o.value(QLatin1String("interval_low")));
    r.intervalHigh = optionalOf(o.value(QLatin1String("interval_high")));
    r.report = o.value(QLatin1String("report")).toString();
    const QJsonArray percents = o.value(QLatin1String("percents")).toArray();
    for (qsizetype j = 0; j < 3 && j < percents.size(); ++j) {
        r.percents[static_cast<std::size_t>(j)] = percents[j].toInt();
    }
    r.m1Distance = o.value(QLatin1String("m1_distance")).toString();
    r.targetDistance = o.value(QLatin1String("target_distance")).toString();
    r.practice = o.value(QLatin1String("practice")).toBool();
    r.trueThreshold = optionalOf(o.value(QLatin1String("true_threshold")));
    return r;
}

constexpr std::array<const char*, 5> kKinds{"start", "answer", "update", "note", "withdraw"};

}  // namespace

JournalWrite JournalWrite::start(const JournalRun& run) {
    return {Kind::Start, run, {}, 0, {}};
}

JournalWrite JournalWrite::taken(const JournalRun& run, const JournalAnswer& answer) {
    return {Kind::Answer, run, answer, 0, {}};
}

JournalWrite JournalWrite::update(const JournalRun& run) {
    return {Kind::Update, run, {}, 0, {}};
}

JournalWrite JournalWrite::withdrawn(const JournalRun& run, const JournalAnswer& answer) {
    return {Kind::Withdraw, run, answer, 0, {}};
}

JournalWrite JournalWrite::noted(qint64 run, const QString& note) {
    return {Kind::Note, {}, {}, run, note};
}

QByteArray JournalWrite::toJson() const {
    QJsonObject o{{"kind", kKinds[static_cast<std::size_t>(kind)]}, {"run", runObject(run)}};
    if (kind == Kind::Answer || kind == Kind::Withdraw) {
        o.insert(QLatin1String("answer"), QJsonObject{{"trial", answer.trial},
                                                      {"fired", answer.fired},
                                                      {"answer", answer.answer},
                                                      {"next", answer.next},
                                                      {"diff", answer.diff},
                                                      {"at", answer.at},
                                                      {"seq", answer.seq},
                                                      {"withdrawn_at", answer.withdrawnAt}});
    }
    if (kind == Kind::Note) {
        o.insert(QLatin1String("note_run"), noteRun);
        o.insert(QLatin1String("note"), note);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<JournalWrite> JournalWrite::fromJson(const QByteArray& line) {
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
    w.kind = static_cast<Kind>(k);
    w.run = runOf(o.value(QLatin1String("run")).toObject());
    const QJsonObject a = o.value(QLatin1String("answer")).toObject();
    w.answer = {a.value(QLatin1String("trial")).toInt(),
                a.value(QLatin1String("fired")).toDouble(),
                a.value(QLatin1String("answer")).toInt(),
                a.value(QLatin1String("next")).toDouble(),
                a.value(QLatin1String("diff")).toDouble(),
                a.value(QLatin1String("at")).toString(),
                a.value(QLatin1String("seq")).toInt(),
                a.value(QLatin1String("withdrawn_at")).toString()};
    w.noteRun = o.value(QLatin1String("note_run")).toInteger();
    w.note = o.value(QLatin1String("note")).toString();
    return w;
}

}  // namespace limenta
