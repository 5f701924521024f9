// The console's start-up, its inputs and buttons (Start, Reset, Print/Save), quitting, and
// what it hands the journal.
#include "core/console/console.h"

#include <limits>

#include "core/console/notices.h"
#include "core/display/history_line.h"
#include "core/procedure/robust_bayes.h"

namespace limenta {

Console::Console(ConsoleHost& host)
    : host_(host),
      method_(&methodOfPrefsFlag(methods(), false)),
      answerWaitEnds_(std::numeric_limits<std::int64_t>::min()) {}

Console::~Console() = default;

const std::vector<const Method*>& Console::offeredMethods() {
    static const std::vector<const Method*> offered = [] {
        std::vector<const Method*> inWindow;
        for (const Method& method : methods()) {
            if (method.inWindow) {
                inWindow.push_back(&method);
            }
        }
        return inWindow;
    }();
    return offered;
}

std::vector<ConsoleEffect> Console::takeEffects() {
    std::vector<ConsoleEffect> taken;
    taken.swap(effects_);
    return taken;
}

void Console::open(bool soundAvailable) {
    keys_.successkey = kOpeningSuccessKey;
    keys_.failkey = kOpeningFailKey;
    if (!soundAvailable) {
        // A later notice takes the notice's place; the indicator stays.
        tell(notice::kNoSound);
        view_.noSound = true;
    }
    loadprefs(true);
    // Every run's interval reads one table of likelihoods; built now, it costs the first
    // answer nothing.
    usualRobustModel();
    refresh();
}

void Console::tell(std::string notice) {
    view_.notice = std::move(notice);
}

// Buttons.

void Console::press(Button button) {
    switch (button) {
        case Button::Start:
            PushButton1_Action();
            break;
        case Button::Reset:
            PushButton3_Action();
            break;
        case Button::PrintSave:
            PushButton4_Action();
            break;
        case Button::Prefs:
            askPreferences(AfterPreferences::PrefsButton);
            break;
        case Button::Adjust:
            effect(MoveFocus{guides_.pressAdjust()});
            break;
    }
    refresh();
}

void Console::PushButton1_Action() {
    const RunSettings settings = shownSettings();
    if (startValuesRefused(settings) || patientRefused()) {
        return;
    }
    if (view_.notice == notice::kPressStart) {
        tell({});
    }
    resetvariables();
    run_ = std::make_unique<Run>(*method_, settings, shared_.of(*method_, settings));
    Procedure& s = run_->state();
    const WallTime now = host_.now();
    startedDate_ = s.mydate = now.longDate;
    startedTime_ = s.mytime = now.longTime;
    s.starttime = host_.microseconds();
    runInputsLocked_ = true;
    guides_.lockForRun();
    legendShown_ = true;
    view_.big = shownOutput(*run_);
    takePatient();
    if (host_.keepingRuns()) {
        keep(keeper_.start(*run_, host_.newRunId(), now.iso,
                           practising() ? std::optional(practice_->threshold()) : std::nullopt,
                           runPatient_, runSetup_));
    } else {
        keeper_.forget();
    }
    // The answer keys go to the plot canvas from now on.
    effect(MoveFocus{FocusTarget::Canvas});
}

bool Console::startValuesRefused(const RunSettings& settings) {
    const std::optional<StartProblem> problem = method_->check(*method_, settings);
    if (!problem) {
        return false;
    }
    // A value by its field's caption, or by the name it has where it is set.
    const auto nameOf = [this](StartValue value) {
        for (const Parameter& parameter : method_->parameters) {
            if (parameter.value == value) {
                std::string name =
                    parameter.caption != nullptr ? parameter.caption : parameter.outsideName;
                std::erase(name, ':');
                return name;
            }
        }
        return std::string();
    };
    effect(ShowMessage{"Cannot start: " + nameOf(problem->value) + " " +
                       ruleText(problem->rule, nameOf(StartValue::UpperBound)) + "."});
    return true;
}

void Console::PushButton3_Action() {
    if (runInProgress() && journalled()) {
        keep(keeper_.update(*run_, guides_));
    }
    keeper_.forget();
    run_.reset();
    runPatient_.clear();
    view_.title = kWindow1Title;
    leavePractice();
    // No run, nothing to announce: a number still being spoken stops.
    announcer_.stop();
    undoWaiting_ = false;
    resetvariables();
    runInputsLocked_ = false;
    guides_.unlock();
    view_.big.clear();
    if (startValuesPending_) {
        loadprefs(true);
    }
}

void Console::resetvariables() {
    view_.plot.clear();
    ++view_.plotVersion;
    view_.history.clear();
    view_.interval.clear();
    view_.bigInk = Ink::Black;
    view_.caption = kStartCaption;
    guides_.follow();  // blank: no estimate yet
}

void Console::PushButton4_Action() {
    const std::string report = composeReport(reportInputs(reported()));
    keeper_.keepReport(report);
    if (runInProgress() && journalled()) {
        keep(keeper_.update(*run_, guides_));
    }
    effect(ShowReport{report});
}

// Quitting.

std::optional<std::string> Console::quitQuestion() const {
    if (!runInProgress()) {
        return std::nullopt;
    }
    return std::string("A run is in progress. Quit anyway? ") +
           (host_.keepingRuns() && keeper_.keeps()
                ? "It is kept in Past Runs."
                : "Its answers will be lost unless you print or save the report.");
}

void Console::quit() {
    if (runInProgress() && journalled()) {
        keep(keeper_.update(*run_, guides_));
    }
    view_.practiceWindow = false;
}

// The journal.

bool Console::journalled() {
    return host_.keepingRuns() && keeper_.keeps();
}

void Console::keep(const JournalWrite& write) {
    effect(KeepInJournal{write});
}

}  // namespace limenta
