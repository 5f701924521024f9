// The window and limenta-sim's replay take the same answers the same way: a Bayesian run's
// history, big number, interval and end, and an adaptive PEST run's interval line, as an
// auditor would compare them.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include "cli/run_sim.h"
#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

using WindowAndReplay = MainWindowTest;

QJsonObject replay(const std::string& method, const std::string& answers) {
    const Result r = runSim("replay --method " + method + " --answers " + answers + " --json");
    EXPECT_EQ(r.status, 0) << r.output;
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.output)).object();
}

// "95 % interval: 36 – 46 (7 pulses)", from the replay's unrounded bounds.
QString intervalFrom(const QJsonObject& replayed) {
    const QJsonObject interval = replayed[QLatin1String("interval")].toObject();
    const auto pulses = replayed[QLatin1String("trials")].toArray().size();
    return QStringLiteral("95 % interval: %1 \u2013 %2 (%3 pulses)")
        .arg(std::floor(interval[QLatin1String("low")].toDouble()))
        .arg(std::ceil(interval[QLatin1String("high")].toDouble()))
        .arg(pulses);
}

TEST_F(WindowAndReplay, ABayesianRunIsReplaysRun) {
    open();
    choose("bayes-robust");
    click("PushButton1");
    // A patient whose MEPs appear from 58 % up, with a slipped key on the fourth answer.
    std::string answers;
    for (int k = 0; k < 40 && !run().reached(); ++k) {
        const bool mep = (big().toInt() >= 58) != (k == 3);
        answers += mep ? '1' : '0';
        type(mep ? "y" : "n");
    }
    ASSERT_TRUE(run().reached());
    const QJsonObject replayed = replay("bayes-robust", answers);
    std::vector<TrialLine> lines;
    for (const QJsonValue trial : replayed[QLatin1String("trials")].toArray()) {
        const QJsonObject t = trial.toObject();
        lines.push_back({t[QLatin1String("trial")].toInt(), t[QLatin1String("fired")].toDouble(),
                         t[QLatin1String("answer")].toInt(), t[QLatin1String("next")].toDouble(),
                         t[QLatin1String("diff")].toDouble()});
    }
    EXPECT_EQ(history().toStdString(), historyText(lines));
    EXPECT_TRUE(
        replayed[QLatin1String("trials")].toArray().last()[QLatin1String("reached")].toBool());
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(big(), QString::number(nearestWhole(replayed[QLatin1String("estimate")].toDouble())));
    EXPECT_TRUE(ui.text("StaticText20").startsWith(intervalFrom(replayed)))
        << ui.text("StaticText20").toStdString() << " / " << intervalFrom(replayed).toStdString();
}

TEST_F(WindowAndReplay, AnAdaptivePestRunsIntervalLineIsReplays) {
    open();
    click("PushButton1");
    type("yynnyny");
    ASSERT_TRUE(run().reached());
    EXPECT_EQ(ui.text("StaticText20"),
              intervalFrom(replay("pest", "1100101")) + " wide: consider more pulses");
}

}  // namespace
}  // namespace limenta::testing
