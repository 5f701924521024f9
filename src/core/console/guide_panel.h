// The Quick Reference and Distance Correct panels: the three percentages of the threshold,
// the two scalp-to-cortex distances and the Adjust button that unlocks and relocks them, and
// the values both columns show.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/console/console_effects.h"
#include "core/console/console_view.h"

namespace limenta {

class GuidePanel {
  public:
    enum class Distance { M1, Target };

    void choosePercent(std::size_t which, int percent);
    void editDistance(Distance which, std::string text);
    // Adjust unlocks the distances for typing, Continue locks them; where the keyboard goes.
    FocusTarget pressAdjust();
    // Start locks the distances with the caption Adjust; Reset unlocks them as they stand.
    void lockForRun();
    void unlock() { readOnly_ = false; }

    // The values go blank (the run goes on: no estimate stands), or follow the estimate.
    void blank() { shows_ = Shows::Blank; }
    void follow() { shows_ = Shows::Estimate; }

    [[nodiscard]] const std::array<int, 3>& percents() const { return percents_; }
    [[nodiscard]] const std::string& m1Distance() const { return m1_; }
    [[nodiscard]] const std::string& targetDistance() const { return target_; }
    // e^(0.036 x (target - M1)).
    [[nodiscard]] double factor() const;

    // The panels as they stand for a threshold `rmt` (0: none yet), or a run whose end says
    // the threshold lies above what the stimulator gives.
    void show(ConsoleView& view, double rmt, bool aboveMaximum) const;

  private:
    // Exactly one column is black: the corrected one once a distance has been entered.
    [[nodiscard]] bool distanceEntered() const;

    // The design's "###" until the first recomputation.
    enum class Shows { Design, Blank, Estimate };
    Shows shows_ = Shows::Design;
    std::array<int, 3> percents_{80, 100, 120};
    std::string m1_ = "0";
    std::string target_ = "0";
    bool readOnly_ = false;
    bool adjusting_ = false;  // the button says Continue
};

}  // namespace limenta
