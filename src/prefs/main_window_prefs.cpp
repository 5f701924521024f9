// The main window applies the preferences file.
#include <QCheckBox>
#include <QSlider>

#include "prefs/prefs_format.h"
#include "prefs/prefs_store.h"
#include "prefs/window2.h"
#include "ui/main/window1.h"

namespace limenta {

void Window1::loadprefs() {
    loadprefs(true);
}

void Window1::loadprefs(bool mayAskFirst) {
    const std::optional<std::string> text = prefs_.read();
    if (!text) {
        if (mayAskFirst) {
            // First start: the dialog writes the file with its values, then it is applied.
            Window2 dialog(this, prefs_, *this, platform_);
            platform_.dialogs.runModal(dialog);
            loadprefs(false);
            return;
        }
    } else if (const PrefsText prefs(*text); prefs.marked()) {
        mysetting = prefs.number(kPrefsInitialOutput);
        mystep = prefs.number(kPrefsStepSize);
        mydiff = prefs.number(kPrefsDiffThreshold);
        Slider1->setValue(prefs.volume(kPrefsVoiceVolume));
        Slider2->setValue(prefs.volume(kPrefsSignalVolume));
        Slider3->setValue(prefs.volume(kPrefsClickVolume));
        successkey = prefs.key(kPrefsSuccessKey, kDefaultSuccessKey);
        failkey = prefs.key(kPrefsFailKey, kDefaultFailKey);
        successall = prefs.flag(kPrefsSuccessAll);
        failall = prefs.flag(kPrefsFailAll);
        lowbound = prefs.whole(kPrefsLowerBound);
        upbound = prefs.whole(kPrefsUpperBound);
        myspread = prefs.whole(kPrefsSpread);
        mydiff2 = prefs.number(kPrefsMlDiffThreshold);
        CheckBox1->setChecked(prefs.flag(kPrefsUseMlPest));
    }
    showParameterFields(CheckBox1->isChecked());
}

}  // namespace limenta
