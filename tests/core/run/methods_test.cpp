// Every row of the table of methods, and the test's own fourth method, through a whole run,
// its end, the report and the plot: a method left out anywhere fails here.
#include "core/run/methods.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/display/plot_scene.h"
#include "core/prefs/prefs_format.h"
#include "core/prefs/prefs_with.h"
#include "core/report/reported_run.h"
#include "core/run/fixed_sequence_method.h"
#include "core/run/run.h"

namespace limenta::testing {
namespace {

TEST(Methods, KeysNamesAndSettingsAreTheirsAloneAndTheDefaultsStart) {
    std::set<std::string> keys;
    std::set<std::string> names;
    for (const Method& m : withFixedSequence()) {
        EXPECT_TRUE(keys.insert(m.key).second) << m.key;
        EXPECT_TRUE(names.insert(m.name).second) << m.name;
        std::set<std::string> parameters;
        for (const Parameter& p : m.parameters) {
            EXPECT_TRUE(parameters.insert(p.key).second) << m.key << " " << p.key;
            EXPECT_TRUE(p.caption != nullptr || p.outsideName != nullptr ||
                        !m.check(m, {{p.key, "-1"}}))
                << m.key << " " << p.key << ": a refusal must name it";
        }
        EXPECT_LE(m.fields().size(), 3U) << m.key << ": the window has three fields";
        EXPECT_FALSE(m.check(m, {})) << m.key << ": its defaults must start a run";
        EXPECT_EQ(findMethod(withFixedSequence(), m.key)->name, m.name);
    }
    EXPECT_EQ(findMethod(methods(), "fixed"), nullptr);  // the tests' own method
    EXPECT_EQ(findMethod(methods(), ""), nullptr);
    EXPECT_STREQ(methodOfPrefsFlag(methods(), false).key, "pest");
    EXPECT_STREQ(methodOfPrefsFlag(methods(), true).key, "ml");
}

TEST(Methods, StoredValuesFillTheFieldsAsARunTakesThemAndNothingStartWouldRefuseIsKept) {
    const Method& pest = *findMethod(methods(), "pest");
    const Method& ml = *findMethod(methods(), "ml");
    const Method& bayes = *findMethod(methods(), "bayes-robust");
    const auto stored = [](const std::string& tail) {
        return PrefsText(composePrefs({"52,50", "7", ".45", "0", "100", "100", "121", "110", "0",
                                       "0", "20,9", "80", "7,6", ".45", "0"}) +
                         tail);
    };
    const PrefsText prefs = stored("\tbayes-robust.width=2");
    const PrefsText narrow = stored("\tbayes-robust.width=.2\tbayes.width=.3");
    // Typed values as plain decimals, the bounds and the spread as the whole numbers a run
    // takes (made whole as the preferences keep them), an extension's value as kept, and
    // one Start would refuse as its default.
    EXPECT_EQ(filledFrom(pest, *pest.parameter("start"), prefs), "52.5");
    EXPECT_EQ(filledFrom(ml, *ml.parameter("lower"), prefs), "20");
    EXPECT_EQ(filledFrom(ml, *ml.parameter("spread"), prefs), "7");
    EXPECT_EQ(filledFrom(bayes, *bayes.parameter("width"), prefs), ".153");
    EXPECT_EQ(filledFrom(bayes, *bayes.parameter("width"), narrow), ".2");
    // The Bayesian method is stored by its key, and an older file's key for the Bayesian
    // method of a fixed spread opens with it too.
    EXPECT_STREQ(storedMethod(methods(), readSettings(stored("\tmethod=bayes-robust"))).key,
                 "bayes-robust");
    EXPECT_STREQ(storedMethod(methods(), readSettings(stored("\tmethod=bayes"))).key,
                 "bayes-robust");
    EXPECT_STREQ(storedMethod(methods(), readSettings(stored("\tmethod=fixed"))).key, "pest");
    // Preferences keep nothing a Start of any window method would refuse.
    EXPECT_FALSE(checkStoredStart(prefs));
    EXPECT_EQ(checkStoredStart(PrefsText(prefsWith({{kPrefsInitialOutput, "150"}})))->value,
              StartValue::InitialOutput);
    EXPECT_EQ(checkStoredStart(PrefsText(prefsWith({{kPrefsSpread, ".5"}})))->value,
              StartValue::Spread);
    EXPECT_EQ(checkStoredStart(PrefsText(prefsWith({{kPrefsMlDiffThreshold, "0"}})))->value,
              StartValue::MlDiffThreshold);
    // The extension stores a method the flag cannot, and values only where they differ.
    EXPECT_EQ(prefsExtension(methods(), bayes, {{"bayes-robust.width", ".2"}}),
              (std::vector<std::pair<std::string, std::string>>{{"method", "bayes-robust"},
                                                                {"bayes-robust.width", ".2"}}));
    EXPECT_TRUE(prefsExtension(methods(), ml, {{"bayes-robust.width", ".153"}}).empty());
}

TEST(Methods, EveryMethodRunsToItsEndIntoTheReportAndThePlot) {
    for (const Method& m : withFixedSequence()) {
        SCOPED_TRACE(m.key);
        limenta::Run run(m, {});
        run.state().starttime = 1'000'000;
        EXPECT_EQ(run.output(), run.firstOutput());
        // A subject whose threshold is 45 % of the stimulator's output.
        for (int k = 1; k <= kLastTrial && !run.reached(); ++k) {
            const double fired = nearestWhole(run.output());
            const AnswerStep step = run.answer(fired >= 45 ? 1 : 0, 1'000'000 + 1e6 * k);
            ASSERT_FALSE(step.refused);
            const TrialRecord& t = run.trials().back();
            EXPECT_EQ(t.trial, k);
            EXPECT_EQ(nearestWhole(t.fired), fired);  // the whole percent fired
            EXPECT_EQ(t.next, step.next);
            EXPECT_EQ(run.state().stepnum, k);
            EXPECT_EQ(run.state().mysetting, step.next);
            EXPECT_EQ(run.state().lastsetting, t.fired);
            EXPECT_EQ(run.state().thediff, t.diff);
        }
        ASSERT_TRUE(run.reached());
        ASSERT_TRUE(run.estimate());
        EXPECT_NEAR(*run.estimate(), 45, 6);
        EXPECT_EQ(run.state().myrmt, *run.estimate());
        EXPECT_EQ(run.state().totaltime, static_cast<double>(run.state().stepnum));
        const auto interval = run.interval();
        ASSERT_TRUE(interval);
        EXPECT_LT(interval->low, *run.estimate() + 1);
        EXPECT_GT(interval->high, *run.estimate() - 1);

        ReportedRun reported;
        reported.method = m.key;
        for (const Parameter& p : m.parameters) {
            reported.settings[p.key] = run.stated(p);
        }
        const std::string report = composeReport(reportInputs(reported, withFixedSequence()));
        EXPECT_NE(report.find("\rMethod: " + std::string(m.reportName) + "\r"), std::string::npos);
        for (const Parameter& p : m.parameters) {
            if (p.reportLabel != nullptr) {
                EXPECT_NE(report.find(std::string(p.reportLabel) + " = " + run.stated(p) + "\r"),
                          std::string::npos)
                    << p.key;
            }
        }

        // The plot: one mark a pulse, the stop criterion at the method's scale.
        const std::vector<PlotStep> scene = plotScene(run);
        int marks = 0;
        double criterion = -1;
        for (const PlotStep& step : scene) {
            marks += step.kind == PlotStep::Kind::FillOval ? 1 : 0;
            if (step.kind == PlotStep::Kind::Line && step.colour == kRed) {
                criterion = step.y1;
            }
        }
        EXPECT_EQ(marks, run.state().stepnum);
        EXPECT_EQ(criterion,
                  pixel(kPlotHeight - kPlotHeight / m.differenceAtTop(run) * m.criterion(run)));
    }
}

}  // namespace
}  // namespace limenta::testing
