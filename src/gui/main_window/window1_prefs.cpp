// The Prefs button, and the main window applying the preferences file.
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <tuple>

#include "core/prefs/prefs_format.h"
#include "gui/main_window/window1.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/prefs/prefs_store.h"
#include "core/console/notices.h"

namespace limenta {

void Window1::PushButton6_Action() {
    showPreferences();
    // A run in progress keeps the values and the method it started with.
    if (runInProgress()) {
        loadKeysAndVolumes();
    } else {
        loadprefs();
    }
}

void Window1::showPreferences() {
    Window2 dialog(this, prefs_, platform_);
    platform_.dialogs.runModal(dialog);
}

void Window1::loadprefs() {
    loadprefs(true);
}

void Window1::loadprefs(bool mayAskFirst) {
    std::optional<std::string> text = prefs_.read();
    if (!text && mayAskFirst) {
        // First start: the dialog writes the file with its values, then it is applied.
        showPreferences();
        loadprefs(false);
        return;
    }
    preferences_ = usablePrefs(text);
    applyKeysAndVolumes(preferences_);
    chooseMethod(storedMethod(methods(), readSettings(preferences_)));
    startValuesPending_ = false;
    showParameterFields(activeMethod());
}

void Window1::loadKeysAndVolumes() {
    applyKeysAndVolumes(usablePrefs(prefs_.read()));
    // The start values and the method wait for the run to end.
    startValuesPending_ = true;
}

PrefsText Window1::usablePrefs(const std::optional<std::string>& text) {
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
        tell(QLatin1String(notice::kPrefsDamaged));
    }
    return PrefsText(defaultPrefsText());
}

void Window1::applyKeysAndVolumes(const PrefsText& prefs) {
    Slider1->setValue(prefs.volume(kPrefsVoiceVolume));
    Slider2->setValue(prefs.volume(kPrefsSignalVolume));
    Slider3->setValue(prefs.volume(kPrefsClickVolume));
    keys_.successkey = prefs.key(kPrefsSuccessKey, kDefaultSuccessKey);
    keys_.failkey = prefs.key(kPrefsFailKey, kDefaultFailKey);
    keys_.successall = prefs.flag(kPrefsSuccessAll);
    keys_.failall = prefs.flag(kPrefsFailAll);
    for (const auto& [field, which, used] :
         {std::tuple{kPrefsSuccessKey, "success", keys_.successkey},
          std::tuple{kPrefsFailKey, "failure", keys_.failkey}}) {
        if (const MenuKey* menu = menuKeyOf(prefs.whole(field))) {
            tell(QLatin1String(notice::kMenuKeyReplaced)
                     .arg(QLatin1String(which), QLatin1String(menu->name),
                          QLatin1String(menu->what), QString::fromStdString(keyDisplayName(used))));
        }
    }
    if (!keys_.successall && !keys_.failall && sameKey(keys_.successkey, keys_.failkey)) {
        tell(QLatin1String(notice::kSameKeys));
    }
    // A legend on screen names the keys that count now.
    if (!StaticText6->text().isEmpty()) {
        StaticText6->setText(QString::fromStdString(keyLegend(keys_)));
    }
}

}  // namespace limenta
