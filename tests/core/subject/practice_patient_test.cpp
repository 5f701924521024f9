// The practice patient: its hidden threshold, its pulses and sweeps, the operator's
// judgements and what the end says of them, through a run of every window method.
#include "core/subject/practice_patient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/display/practice_summary.h"
#include "core/numbers/numbers.h"
#include "core/run/run.h"

namespace limenta {
namespace {

TEST(PracticePatient, ItsThresholdIsHiddenInTheClinicalRangeAndItsOwnForEachSeed) {
    double lowest = 100;
    double highest = 0;
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        const double t = PracticePatient(seed).threshold();
        EXPECT_GE(t, 30);
        EXPECT_LE(t, 80);
        lowest = std::min(lowest, t);
        highest = std::max(highest, t);
    }
    EXPECT_LT(lowest, 32);
    EXPECT_GT(highest, 78);
    EXPECT_EQ(PracticePatient(7).threshold(), PracticePatient(7).threshold());
    EXPECT_NE(PracticePatient(7).threshold(), PracticePatient(8).threshold());
}

TEST(PracticePatient, ItsPulsesAreTheVariableModelsAndItsSweepsChangeNone) {
    PracticePatient patient(11);
    const Subject same(SubjectModel::Variable, patient.threshold(), {});
    Random pulses = subjectRandom(11, 0, 1);
    for (int i = 0; i < 40; ++i) {
        const auto output = static_cast<std::int32_t>(patient.threshold()) - 5 + i % 10;
        const PracticePulse* fired = patient.fire(output);
        ASSERT_NE(fired, nullptr);
        const Pulse expected = same.pulse(output, pulses);
        EXPECT_EQ(fired->pulse.mep, expected.mep);
        EXPECT_EQ(fired->pulse.peakToPeak, expected.peakToPeak);
        EXPECT_NEAR(fired->sweep.peakToPeak(), *fired->pulse.peakToPeak, 15);
        // No second pulse before the first is judged.
        EXPECT_EQ(patient.fire(output), nullptr);
        EXPECT_TRUE(patient.judge(1));
        EXPECT_FALSE(patient.judge(1));
    }
    EXPECT_EQ(patient.pulses().size(), 40U);
}

// A whole practice run of `method`: each pulse judged by its sweep's peak-to-peak against
// 50 microvolts, but for the pulses numbered in `slips` (from 0), judged the other way.
PracticeResult practiseWith(const Method& method, const std::vector<std::size_t>& slips,
                            PracticePatient& patient) {
    Run run(method, {});
    while (run.state().stepnum < kLastTrial) {
        const PracticePulse* fired = patient.fire(nearestWhole(run.output()));
        const bool seen = fired->sweep.peakToPeak() >= kMepCriterionMicrovolts;
        const bool slip =
            std::find(slips.begin(), slips.end(), patient.pulses().size() - 1) != slips.end();
        const std::int32_t answer = seen != slip ? 1 : 0;
        patient.judge(answer);
        if (run.answer(answer, 0).reached) {
            break;
        }
    }
    return patient.result(run.estimate() ? std::optional(roundHalfAway(*run.estimate()))
                                         : std::nullopt);
}

TEST(PracticePatient, TheEndTellsTheTruthTheErrorAndTheJudgementsTheSweepsDidNotBearOut) {
    for (const Method& method : methods()) {
        if (!method.inWindow) {
            continue;
        }
        SCOPED_TRACE(method.key);
        std::size_t disagreements = 0;
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            PracticePatient patient(seed);
            const PracticeResult r = practiseWith(method, {2, 4}, patient);
            EXPECT_EQ(r.threshold, patient.threshold());
            // Slips can end a run above what the stimulator gives: no estimate, no error.
            EXPECT_EQ(r.errorMso.has_value(), r.estimate.has_value());
            EXPECT_EQ(r.errorPercent.has_value(), r.estimate.has_value());
            if (r.estimate) {
                EXPECT_DOUBLE_EQ(*r.errorMso, *r.estimate - r.threshold);
                EXPECT_DOUBLE_EQ(*r.errorPercent, 100 * *r.errorMso / r.threshold);
            }
            EXPECT_EQ(r.pulses, static_cast<int>(patient.pulses().size()));
            // A pulse disagrees where the judgement differs from the model: a slip does,
            // unless the sweep's noise had carried it across the criterion already, and
            // the other pulses only where the noise did.
            for (std::size_t i = 0; i < patient.pulses().size(); ++i) {
                const PracticePulse& p = patient.pulses()[i];
                const bool sweepAgrees =
                    (p.sweep.peakToPeak() >= kMepCriterionMicrovolts) == p.pulse.mep;
                const bool slip = i == 2 || i == 4;
                const bool listed = std::find(r.disagreements.begin(), r.disagreements.end(), i) !=
                                    r.disagreements.end();
                EXPECT_EQ(listed, slip == sweepAgrees) << seed << " " << i;
                if (!sweepAgrees) {
                    EXPECT_LT(std::fabs(*p.pulse.peakToPeak - kMepCriterionMicrovolts), 15);
                }
            }
            disagreements += r.disagreements.size();
        }
        EXPECT_GE(disagreements, 2U * 20 - 3);  // the slips, but for a rare crossing
    }
}

TEST(PracticePatient, TheEndInWordsWithAndWithoutAnEstimate) {
    PracticeResult r;
    r.threshold = 47.26;
    r.estimate = 46;
    r.errorMso = 46 - 47.26;
    r.errorPercent = 100 * (46 - 47.26) / 47.26;
    r.pulses = 14;
    r.disagreements = {2, 9};
    using Figures = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(practiceFigures(r), (Figures{{"True threshold", "47.3 %"},
                                           {"Your estimate", "46 %"},
                                           {"Error", "-1.3 % MSO"},
                                           {"Error relative to the threshold", "-2.7 % of T"},
                                           {"Pulses", "14"},
                                           {"Judgements the sweeps did not bear out", "2 of 14"}}));
    r.estimate = r.errorMso = r.errorPercent = std::nullopt;
    const Figures above = practiceFigures(r);
    EXPECT_EQ(above[1].second, "above 100");
    EXPECT_EQ(above[2].second, "--");
    EXPECT_EQ(above[3].second, "--");
    r.estimate = 49;
    r.errorMso = 1.74;
    r.errorPercent = 3.68;
    EXPECT_EQ(practiceFigures(r)[2].second, "+1.7 % MSO");

    PracticePulse pulse;
    pulse.output = 52;
    pulse.pulse = {false, 38.4};
    pulse.judged = 1;
    EXPECT_EQ(disagreementCaption(pulse, 3), "Pulse 3 at 52 %: judged MEP, was 38 \u00b5V");
    pulse.pulse = {true, 74.0};
    pulse.judged = 0;
    EXPECT_EQ(disagreementCaption(pulse, 11), "Pulse 11 at 52 %: judged none, was 74 \u00b5V");
}

TEST(PracticePatient, AJudgementTakenBackLeavesItsSweepToBeJudgedAgain) {
    PracticePatient patient(3);
    patient.withdraw();  // nothing judged: nothing happens
    patient.fire(50);
    patient.withdraw();
    ASSERT_EQ(patient.pulses().size(), 1U);
    patient.judge(1);
    patient.fire(45);
    patient.judge(0);
    const std::vector<double> second = patient.pulses()[1].sweep.microvolts;
    patient.fire(47);  // fired, not yet judged: it goes with the judgement before it
    patient.withdraw();
    ASSERT_EQ(patient.pulses().size(), 2U);
    EXPECT_TRUE(patient.awaitingJudgement());
    EXPECT_EQ(patient.pulses()[1].output, 45);
    EXPECT_EQ(patient.pulses()[1].sweep.microvolts, second);  // the same sweep, shown again
    EXPECT_EQ(patient.fire(45), nullptr);
    EXPECT_EQ(patient.result(50).pulses, 1);
    EXPECT_TRUE(patient.judge(1));  // judged afresh, the other way
    EXPECT_EQ(patient.pulses()[1].judged, 1);
    patient.withdraw();
    patient.withdraw();
    EXPECT_EQ(patient.pulses().size(), 1U);
    EXPECT_FALSE(patient.pulses()[0].judged);
    EXPECT_EQ(patient.result(50).pulses, 0);
}

}  // namespace
}  // namespace limenta
