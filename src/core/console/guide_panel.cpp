#include "core/console/guide_panel.h"

#include <algorithm>
#include <cmath>

#include "core/display/quick_reference.h"
#include "core/numbers/numbers.h"

namespace limenta {

namespace {

// A value no stimulator can deliver is shown as "100+" in red, its number in the tooltip.
GuideValue guideOf(const ReferenceValue& value, Ink ink) {
    return {value.shown(), value.aboveMaximum ? Ink::Red : ink,
            value.aboveMaximum
                ? value.text + " % of the stimulator's output: more than it can deliver"
                : std::string()};
}

}  // namespace

void GuidePanel::choosePercent(std::size_t which, int percent) {
    percents_.at(which) = std::clamp(percent, 0, 200);
    follow();
}

void GuidePanel::editDistance(Distance which, std::string text) {
    (which == Distance::M1 ? m1_ : target_) = std::move(text);
    follow();
}

FocusTarget GuidePanel::pressAdjust() {
    adjusting_ = !adjusting_;
    readOnly_ = !adjusting_;
    follow();
    return adjusting_ ? FocusTarget::M1Distance : FocusTarget::FirstField;
}

void GuidePanel::lockForRun() {
    readOnly_ = true;
    adjusting_ = false;
}

double GuidePanel::factor() const {
    return depthFactor(textToNumber(target_), textToNumber(m1_));
}

bool GuidePanel::distanceEntered() const {
    return std::abs(textToNumber(target_) + textToNumber(m1_)) > 0;
}

void GuidePanel::show(ConsoleView& view, double rmt, bool aboveMaximum) const {
    view.percents = percents_;
    view.distances = {m1_, target_};
    view.distancesReadOnly = readOnly_;
    view.adjustCaption = adjusting_ ? "Continue" : "Adjust";
    const bool entered = distanceEntered();
    view.bracket = entered ? Ink::Black : Ink::Grey;
    const Ink plainInk = entered ? Ink::Grey : Ink::Black;
    const Ink correctedInk = entered ? Ink::Black : Ink::Grey;
    for (std::size_t j = 0; j < 3; ++j) {
        ReferenceValue plain;
        ReferenceValue corrected;
        if (shows_ == Shows::Design) {
            plain = corrected = {"###"};
        } else if (shows_ == Shows::Estimate && aboveMaximum) {
            plain = corrected = {"--"};  // no percentage of "above 100" is a value
        } else if (shows_ == Shows::Estimate && rmt != 0) {
            plain = quickReference(rmt, percents_[j]);
            corrected = correctedReference(rmt, factor(), percents_[j]);
        }
        // Before an estimate there is no value: a blank, never a number to mistake for one.
        view.plain[j] = guideOf(plain, plainInk);
        view.corrected[j] = guideOf(corrected, correctedInk);
    }
}

}  // namespace limenta
