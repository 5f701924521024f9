// The console's start-up, its preferences and method, Start, Reset, Print/Save, the
// quick-reference panels and the view of the run.
#include "core/console/console.h"

#include <limits>

#include "core/console/notices.h"
#include "core/display/history_line.h"

namespace limenta {

namespace {

// A notice's text with its %1, %2... filled in.
std::string fillIn(std::string text, const std::vector<std::string>& values) {
    for (std::size_t i = values.size(); i-- > 0;) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + values[i].size())) {
            text.replace(at, mark.size(), values[i]);
        }
    }
    return text;
}

}  // namespace

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
    refresh();
}

void Console::tell(std::string notice) {
    view_.notice = std::move(notice);
}

// The preferences.

bool Console::loadprefs(bool mayAskFirst) {
    const std::optional<std::string> text = host_.preferences();
    if (!text && mayAskFirst) {
        // First start: the dialog writes the file with its values, then it is applied.
        askPreferences(AfterPreferences::Apply);
        return false;
    }
    preferences_ = usablePrefs(text);
    applyKeysAndVolumes(preferences_);
    choose(storedMethod(methods(), readSettings(preferences_)));
    startValuesPending_ = false;
    showParameterFields(*method_);
    return true;
}

void Console::askPreferences(AfterPreferences then, const Method* chosen) {
    afterPreferences_ = then;
    chosenMethod_ = chosen;
    effect(OpenPreferences{});
}

void Console::preferencesClosed() {
    const AfterPreferences then = afterPreferences_;
    afterPreferences_ = AfterPreferences::Nothing;
    switch (then) {
        case AfterPreferences::Nothing:
            break;
        case AfterPreferences::Apply:
            loadprefs(false);
            break;
        case AfterPreferences::PrefsButton:
            // A run in progress keeps the values and the method it started with.
            if (runInProgress()) {
                applyKeysAndVolumes(usablePrefs(host_.preferences()));
                startValuesPending_ = true;  // they wait for the run to end
            } else {
                loadprefs(true);
            }
            break;
        case AfterPreferences::Choose:
            loadprefs(false);
            choose(*chosenMethod_);
            showParameterFields(*chosenMethod_);
            break;
    }
    refresh();
}

PrefsText Console::usablePrefs(const std::optional<std::string>& text) {
    if (text) {
        PrefsText prefs(*text);
        if (prefs.marked()) {
            return prefs;
        }
    }
    // A damaged file (or none after the first-start dialog) would leave the digits 1 and 0
    // as answer keys and a difference threshold of 0; the defaults serve instead, and the
    // file stays as it is until OK in Preferences replaces it.
    if (!toldPrefsDamaged_) {
        toldPrefsDamaged_ = true;
        tell(notice::kPrefsDamaged);
    }
    return PrefsText(defaultPrefsText());
}

void Console::applyKeysAndVolumes(const PrefsText& prefs) {
    volumes_ = {prefs.volume(kPrefsVoiceVolume), prefs.volume(kPrefsSignalVolume),
                prefs.volume(kPrefsClickVolume)};
    keys_.successkey = prefs.key(kPrefsSuccessKey, kDefaultSuccessKey);
    keys_.failkey = prefs.key(kPrefsFailKey, kDefaultFailKey);
    keys_.successall = prefs.flag(kPrefsSuccessAll);
    keys_.failall = prefs.flag(kPrefsFailAll);
    for (const auto& [field, which, used] :
         {std::tuple{kPrefsSuccessKey, "success", keys_.successkey},
          std::tuple{kPrefsFailKey, "failure", keys_.failkey}}) {
        if (const MenuKey* menu = menuKeyOf(prefs.whole(field))) {
            tell(fillIn(notice::kMenuKeyReplaced,
                        {which, menu->name, menu->what, keyDisplayName(used)}));
        }
    }
    if (!keys_.successall && !keys_.failall && sameKey(keys_.successkey, keys_.failkey)) {
        tell(notice::kSameKeys);
    }
}

// The method and the start values.

void Console::choose(const Method& method) {
    method_ = &method;
}

void Console::chooseMethod(std::size_t offered) {
    if (offered >= offeredMethods().size() || runInProgress()) {
        return;
    }
    // The operator's choice; the preferences applied again leave it standing.
    const Method& chosen = *offeredMethods()[offered];
    choose(chosen);
    if (loadprefs(true)) {
        choose(chosen);
        showParameterFields(chosen);
    } else {
        afterPreferences_ = AfterPreferences::Choose;
        chosenMethod_ = &chosen;
    }
    refresh();
}

void Console::showParameterFields(const Method& method) {
    const std::vector<const Parameter*> shown = method.fields();
    for (std::size_t i = 0; i < shown.size() && i < typed_.size(); ++i) {
        typed_[i] = filledFrom(method, *shown[i], preferences_);
    }
}

RunSettings Console::shownSettings() const {
    RunSettings settings;
    std::size_t field = 0;
    for (const Parameter& parameter : method_->parameters) {
        if (parameter.caption != nullptr && field < typed_.size()) {
            settings.set(parameter.key, typed_[field++]);
        } else if (parameter.prefsField != 0) {
            settings.set(parameter.key, preferences_.field(parameter.prefsField));
        }
    }
    return settings;
}

void Console::edited(Field field, std::string text) {
    switch (field) {
        case Field::First:
        case Field::Second:
        case Field::Third:
            typed_[static_cast<std::size_t>(field)] = std::move(text);
            break;
        case Field::M1Distance:
            guides_.editDistance(GuidePanel::Distance::M1, std::move(text));
            break;
        case Field::TargetDistance:
            guides_.editDistance(GuidePanel::Distance::Target, std::move(text));
            break;
    }
    refresh();
}

void Console::moved(Slider slider, int volume) {
    volumes_[static_cast<std::size_t>(slider)] = std::clamp(volume, 0, 100);
    refresh();
}

void Console::choosePercent(std::size_t which, int percent) {
    if (which < 3) {
        guides_.choosePercent(which, percent);
    }
    refresh();
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
    if (startValuesRefused(settings)) {
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
    if (host_.keepingRuns()) {
        keep(keeper_.start(*run_, host_.newRunId(), now.iso,
                           practising() ? std::optional(practice_->threshold()) : std::nullopt));
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

ReportedRun Console::reported() const {
    ReportedRun r;
    r.mydate = startedDate_;
    r.mytime = startedTime_;
    r.percents = guides_.percents();
    r.m1Distance = guides_.m1Distance();
    r.targetDistance = guides_.targetDistance();
    if (!run_) {
        // No run: the fields as they stand.
        r.method = method_->key;
        const RunSettings shown = shownSettings();
        for (const Parameter& parameter : method_->parameters) {
            r.settings[parameter.key] = shown.typed(parameter);
        }
        return r;
    }
    // The run's own settings, as it states them.
    const Run& run = *run_;
    r.stage = run.reached() ? RunStage::Reached : RunStage::InProgress;
    r.method = run.method().key;
    for (const Parameter& parameter : run.method().parameters) {
        r.settings[parameter.key] = run.stated(parameter);
    }
    r.totaltime = run.state().totaltime;
    r.next = run.trials().empty() ? run.firstOutput() : run.state().mysetting;
    r.estimate = run.estimate();
    r.aboveMaximum = run.aboveMaximum();
    r.interval = run.interval();
    r.answers.assign(run.trials().begin(), run.trials().end());
    r.withdrawn = run.withdrawn().size();
    r.practice = practising();
    return r;
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

// The view.

void Console::refresh() {
    const std::vector<const Parameter*> fields = method_->fields();
    for (std::size_t i = 0; i < view_.parameters.size(); ++i) {
        // A field the method does not use is not there, never showing another's value.
        const bool used = i < fields.size();
        view_.parameters[i] = {used ? fields[i]->caption : "", typed_[i], used};
    }
    const auto& offered = offeredMethods();
    view_.method = static_cast<std::size_t>(
        std::find(offered.begin(), offered.end(), method_) - offered.begin());
    view_.startEnabled = !runInputsLocked_;
    view_.startValuesLocked = runInputsLocked_;
    view_.volumes = volumes_;
    // A legend on screen names the keys that count now.
    view_.legend = legendShown_ ? keyLegend(keys_) : std::string();
    guides_.show(view_, run_ ? run_->estimate().value_or(0) : 0, run_ && run_->aboveMaximum());
    view_.timers = {announcer_.on(1), announcer_.on(2), announcer_.on(3), undoWaiting_,
                    pulseTimer_};
}

void Console::showRun() {
    const Run& run = *run_;
    view_.big = shownOutput(run);
    // Newest line on top, so the latest answer is always in view.
    view_.history = historyText(run.trials());
    const std::optional<CredibleInterval> interval = run.interval();
    view_.interval = interval ? intervalLine(*interval, run.state().stepnum) : std::string();
    view_.intervalInk = interval && interval->wide() ? Ink::Amber : Ink::Black;
    view_.plot = plotScene(run);
    ++view_.plotVersion;
}

void Console::showEndReached() {
    // Above what the stimulator gives: "100+" in red, as the quick reference shows it.
    view_.bigInk = run_->aboveMaximum() ? Ink::Red : Ink::Green;
    view_.caption = "rMT Estimate Reached :";
    // myrmt, endtime and totaltime were taken with the step.
    guides_.follow();
}

void Console::showRunGoingOn(const char* caption) {
    view_.bigInk = Ink::Black;
    view_.caption = caption;
    guides_.blank();  // the run goes on: no estimate stands
}

void Console::showRunAsItStands() {
    const std::vector<TrialRecord>& trials = run_->trials();
    const char* answerCaption = run_->method().answerCaption;
    // The caption an answer leaves stands until another answer changes it: the end's, the
    // method's caption over the next output, or Start's.
    const bool endShown =
        !trials.empty() &&
        (trials.back().reached ||
         (answerCaption == nullptr && std::any_of(trials.begin(), trials.end(),
                                                  [](const TrialRecord& t) { return t.reached; })));
    if (endShown) {
        showEndReached();
    } else {
        showRunGoingOn(trials.empty() || answerCaption == nullptr ? kStartCaption : answerCaption);
    }
}

}  // namespace limenta
