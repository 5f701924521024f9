// The preferences file applied: the keys, the volumes, the method and the start values it
// keeps, at start-up, after the Preferences dialog and on the operator's choice of method.
#include "core/console/console.h"
#include "core/console/notices.h"

namespace limenta {

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
            tell(notice::fillIn(notice::kMenuKeyReplaced,
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
        case Field::Patient:
            typePatient(std::move(text));
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

}  // namespace limenta
