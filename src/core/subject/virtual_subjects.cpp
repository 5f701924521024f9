#include "core/subject/virtual_subjects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace limenta {

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double Random::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Random::gaussian() {
    const double u1 = 1.0 - uniform();  // (0, 1]: the logarithm stays finite
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

Random subjectRandom(std::uint64_t seed, std::uint64_t subject, std::uint64_t stream) {
    Random mixer(seed ^ (subject * 0xD1B54A32D192ED03ULL) ^ (stream * 0x8CB92BA72F3D8DD7ULL));
    return Random(mixer.next());
}

double phi(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

namespace {

// The variable model, in outputs relative to the threshold (r = output / T).
constexpr double kInputSpread = 0.08;       // threshold variability, share of T
constexpr double kFloorLog = -2.0;          // log10 of 10 microvolts, in mV
constexpr double kCeilingLog = 0.7;         // log10 of 5 mV
constexpr double kCriterionLog = -1.30103;  // log10 of 50 microvolts, in mV
constexpr double kSlope = 12.0;             // steepness of the recruitment curve per T
constexpr double kOutputSpread = 0.25;      // log10 units of MEP amplitude noise

double recruitment(double r, double centre) {
    return kFloorLog + (kCeilingLog - kFloorLog) / (1.0 + std::exp(-kSlope * (r - centre)));
}

// The probability of an MEP above the criterion at relative output r, the threshold
// variability integrated out over +-6 standard deviations.
double variableProbability(double r, double centre) {
    constexpr int kSteps = 240;
    double sum = 0.0;
    double weights = 0.0;
    for (int i = 0; i <= kSteps; ++i) {
        const double z = -6.0 + 12.0 * i / kSteps;
        const double weight = std::exp(-0.5 * z * z);
        const double level = recruitment(r + kInputSpread * z, centre);
        sum += weight * phi((level - kCriterionLog) / kOutputSpread);
        weights += weight;
    }
    return sum / weights;
}

// The recruitment curve's centre that puts the 50 % point of MEPs exactly at r = 1, so a
// subject's threshold T is the output that brings an MEP half the time.
double calibratedCentre() {
    static const double centre = [] {
        double low = 0.5;
        double high = 1.5;
        for (int i = 0; i < 100; ++i) {
            const double mid = 0.5 * (low + high);
            // A later centre means fewer MEPs at r = 1.
            if (variableProbability(1.0, mid) > 0.5) {
                low = mid;
            } else {
                high = mid;
            }
        }
        return 0.5 * (low + high);
    }();
    return centre;
}

}  // namespace

double ownSpread(std::uint64_t seed, std::uint64_t subject) {
    constexpr double kMedian = 0.052;
    constexpr double kLogSd = 0.45;  // 95 % of subjects from 2.1 to 12.5 %
    Random random = subjectRandom(seed, subject, 0);
    return std::clamp(kMedian * std::exp(kLogSd * random.gaussian()), 0.02, 0.15);
}

Subject::Subject(SubjectModel model, double threshold, OperatorErrors errors, double spread)
    : model_(model), threshold_(threshold), errors_(errors), spread_(spread) {
    if (model_ == SubjectModel::Variable) {
        calibratedCentre();
    }
}

double Subject::mepProbability(double output) const {
    if (model_ != SubjectModel::Variable) {
        return phi((output - threshold_) / (spread_ * threshold_));
    }
    return variableProbability(output / threshold_, calibratedCentre());
}

Pulse Subject::pulse(double output, Random& random) const {
    if (model_ != SubjectModel::Variable) {
        return {random.uniform() < mepProbability(output), std::nullopt};
    }
    const double r = output / threshold_ + kInputSpread * random.gaussian();
    const double level = recruitment(r, calibratedCentre()) + kOutputSpread * random.gaussian();
    return {level > kCriterionLog, 1000 * std::pow(10.0, level)};
}

int Subject::answer(double output, Random& random) const {
    const bool mep = pulse(output, random).mep;
    const double slip = random.uniform();
    if (mep) {
        return slip < errors_.falseNegative ? 0 : 1;
    }
    return slip < errors_.falsePositive ? 1 : 0;
}

std::string modelName(SubjectModel model) {
    switch (model) {
        case SubjectModel::Psychometric:
            return "psychometric";
        case SubjectModel::Variable:
            return "variable";
        case SubjectModel::OwnSpread:
            return "own-spread";
    }
    return {};
}

}  // namespace limenta
