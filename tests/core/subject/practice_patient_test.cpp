// The practice patient: its hidden threshold, its pulses and sweeps, the operator's
// judgements and what the end says of them, through a run of every window method.
#include "core/subject/practice_patient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/display/numbers.h"
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
    return patient.result(roundHalfAway(run.state().myrmt));
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
            EXPECT_DOUBLE_EQ(r.errorMso, r.estimate - r.threshold);
            EXPECT_DOUBLE_EQ(r.errorPercent, 100 * (r.estimate - r.threshold) / r.threshold);
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

TEST(PracticePatient, AWithdrawnJudgementTakesItsPulseWithIt) {
    PracticePatient patient(3);
    patient.fire(50);
    patient.judge(1);
    patient.fire(45);
    patient.judge(0);
    patient.fire(47);  // fired, not yet judged
    patient.withdraw();
    ASSERT_EQ(patient.pulses().size(), 1U);
    EXPECT_EQ(patient.pulses()[0].output, 50);
    EXPECT_EQ(patient.result(50).pulses, 1);
    EXPECT_NE(patient.fire(45), nullptr);  // the output is fired afresh
    patient.withdraw();
    patient.withdraw();
    patient.withdraw();  // nothing left: nothing happens
    EXPECT_TRUE(patient.pulses().empty());
    EXPECT_FALSE(patient.judge(1));
}

}  // namespace
}  // namespace limenta
