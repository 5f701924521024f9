// Virtual subjects: each answers a pulse at a given output with or without an MEP, as a
// model of a real patient would, for limenta-sim's measurements and for practice.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace limenta {

// A small random number generator whose sequence is the same on every machine and
// standard library: splitmix64 for the bits, its own transforms for the distributions.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();   // [0, 1), 53 bits
    double gaussian();  // standard normal, by the Box-Muller transform

  private:
    std::uint64_t state_;
};

// The generator of one subject of one run: the same whatever the thread that runs it.
Random subjectRandom(std::uint64_t seed, std::uint64_t subject, std::uint64_t stream);

// The standard normal distribution function.
double phi(double z);

enum class SubjectModel {
    // P(MEP at s) = Phi((s - T) / (0.07 T)): the model of the threshold-hunting literature.
    Psychometric,
    // Trial-to-trial threshold variability (8 % of T, Gaussian) feeding a sigmoid of log
    // MEP amplitude with log-normal output noise; an MEP is seen above 50 microvolts. Its
    // probability of an MEP is no cumulative Gaussian, so ML-PEST is not tested only
    // against its own assumption.
    Variable,
    // The psychometric model with a spread of each subject's own: log-normal around 5.2 %
    // of T, the median of 37 subjects of Demjan et al. (2023), from 2 % to 15 %.
    OwnSpread,
};

// The relative spread of subject `subject` of the own-spread model, drawn from a random
// stream no method draws from, so every method meets the same subjects.
double ownSpread(std::uint64_t seed, std::uint64_t subject);

struct OperatorErrors {
    double falsePositive = 0.0;  // an MEP reported where there was none
    double falseNegative = 0.0;  // an MEP missed
};

// What one pulse brought, before the operator judged it.
struct Pulse {
    bool mep = false;
    // The MEP's peak-to-peak amplitude, microvolts, where the model has amplitudes (the
    // variable model); an MEP is one of at least kMepCriterionMicrovolts.
    std::optional<double> peakToPeak;
};

inline constexpr double kMepCriterionMicrovolts = 50;
// The relative spread of the threshold-hunting literature's psychometric model.
inline constexpr double kLiteratureSpread = 0.07;

class Subject {
  public:
    // `spread` is the relative spread of the psychometric curve: the literature's but in the
    // own-spread model.
    Subject(SubjectModel model, double threshold, OperatorErrors errors,
            double spread = kLiteratureSpread);

    // What a pulse at `output` percent brings.
    Pulse pulse(double output, Random& random) const;
    // The operator's answer to a pulse at `output` percent: 1 MEP seen, 0 none.
    int answer(double output, Random& random) const;
    // The true probability of an MEP at `output`, before operator errors.
    [[nodiscard]] double mepProbability(double output) const;
    [[nodiscard]] double threshold() const { return threshold_; }

  private:
    SubjectModel model_;
    double threshold_;
    OperatorErrors errors_;
    double spread_;
};

// The name used on the command line and in the output.
std::string modelName(SubjectModel model);

}  // namespace limenta
