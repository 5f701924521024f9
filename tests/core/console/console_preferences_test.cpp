// The preferences file as the console applies it: at the first start, whole, damaged, cut
// short, with keys it cannot take, and with the Bayesian method after its seventeen fields.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/console/notices.h"

namespace limenta::testing {
namespace {

using Preferences = ConsoleTest;

TEST_F(Preferences, TheFirstStartAsksForTheDialogFirstAndAppliesWhatItWrote) {
    preferencesDialog = [](FakeHost& h) { h.prefs = prefsWith({{kPrefsVoiceVolume, "40"}}); };
    open(std::nullopt);
    EXPECT_EQ(preferencesOpened, 1);
    EXPECT_EQ(view().volumes, (std::array{40, 100, 100}));
    EXPECT_EQ(console->keys().successkey, 'y');
    EXPECT_EQ(console->keys().failkey, 'n');
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(view().parameters[2].text, ".45");
    EXPECT_EQ(view().notice, "");
    // A dialog that could write nothing: the defaults, said once, and no second dialog.
    preferencesDialog = nullptr;
    open(std::nullopt);
    EXPECT_EQ(preferencesOpened, 2);
    EXPECT_EQ(view().notice, notice::kPrefsDamaged);
    EXPECT_EQ(console->keys().successkey, 'y');
}

TEST_F(Preferences, ADamagedFileGivesTheDefaultsWithANotice) {
    for (const std::string& damaged : damagedPrefsFiles()) {
        SCOPED_TRACE(::testing::PrintToString(damaged.substr(0, 40)));
        open(damaged);
        EXPECT_EQ(console->preferences().number(kPrefsInitialOutput), 50);
        EXPECT_EQ(console->preferences().number(kPrefsStepSize), 7);
        // Not 0, which would never end a run.
        EXPECT_EQ(console->preferences().number(kPrefsDiffThreshold), 0.45);
        EXPECT_EQ(console->preferences().number(kPrefsMlDiffThreshold), 0.45);
        EXPECT_EQ(console->keys().successkey, 'y');  // not the digit one
        EXPECT_EQ(console->keys().failkey, 'n');
        EXPECT_EQ(view().volumes, (std::array{0, 100, 100}));
        EXPECT_STREQ(console->activeMethod().key, "pest");
        EXPECT_EQ(view().parameters[2].text, ".45");
        EXPECT_EQ(view().notice, notice::kPrefsDamaged);
        press(Button::Start);
        type("yyy");
        EXPECT_EQ(run().state().stepnum, 3);
    }
}

TEST_F(Preferences, FieldsAreReadAsTheyStand) {
    // Cut after field nine: the rest reads as zero.
    open("PESTPREFS\t50\t7\t.45\t0\t100\t100\t121\t110");
    EXPECT_FALSE(console->keys().successall);
    EXPECT_FALSE(console->keys().failall);
    EXPECT_EQ(console->preferences().whole(kPrefsLowerBound), 0);
    EXPECT_EQ(console->preferences().whole(kPrefsSpread), 0);
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(console->keys().successkey, 'y');
    // Only a 1 is a flag.
    open(prefsWith({{kPrefsSuccessAll, "true"}}));
    EXPECT_FALSE(console->keys().successall);
    EXPECT_EQ(console->preferences().number(kPrefsDiffThreshold), 0.45);
}

TEST_F(Preferences, KeysTheConsoleCannotTakeAreToldAndReplaced) {
    // One key for both: read as it stands, and the shared key counts as a failure.
    open(prefsWith({{kPrefsSuccessKey, "121"}, {kPrefsFailKey, "89"}}));  // y, Y
    EXPECT_EQ(console->keys().successkey, 'y');
    EXPECT_EQ(console->keys().failkey, 'Y');
    EXPECT_EQ(view().notice,
              "The success and failure keys are the same key: change one of them in Preferences. "
              "Until then no success can be entered.");
    // A key the menus take: the default key answers, and the notice says which and why.
    open(prefsWith({{kPrefsSuccessKey, "26"}, {kPrefsFailKey, "17"}}));
    EXPECT_EQ(console->keys().successkey, 'y');
    EXPECT_EQ(console->keys().failkey, 'n');
    EXPECT_EQ(view().notice,
              "A stored answer key belongs to a menu, so the default key answers instead. The "
              "failure key Ctrl+Q quits Limenta: n now answers for failure; choose another key "
              "in Preferences.");
}

// The Bayesian method and its width go after the 17 fields: the console takes them in the
// method's own caption, with the fields it does not use away. A file that names the Bayesian
// method of a fixed spread (an older Limenta's) opens with today's Bayesian method at its own
// width.
TEST_F(Preferences, TheBayesianMethodAndItsWidthAfterTheSeventeenFields) {
    open(defaultPrefsText() + "\tmethod=bayes-robust\tbayes-robust.width=.2");
    EXPECT_STREQ(console->activeMethod().key, "bayes-robust");
    EXPECT_EQ(view().parameters[0].caption, "Width:");
    EXPECT_EQ(view().parameters[0].text, ".2");
    EXPECT_FALSE(view().parameters[1].shown);
    EXPECT_FALSE(view().parameters[2].shown);
    press(Button::Start);
    EXPECT_EQ(run().settings().typed(*run().method().parameter("width")), ".2");
    press(Button::Reset);
    host.prefs = defaultPrefsText() + "\tmethod=bayes\tbayes.spread=5\tbayes.width=.2";
    press(Button::Prefs);
    EXPECT_STREQ(console->activeMethod().key, "bayes-robust");
    EXPECT_EQ(view().parameters[0].text, ".153");
    // A damaged extension gives the defaults and harms nothing else.
    host.prefs = prefsWith({{kPrefsInitialOutput, "44"}}) +
                 "\tmethod=bayes-robust\tbayes-robust.width=7\tnot an extension";
    press(Button::Prefs);
    EXPECT_STREQ(console->activeMethod().key, "bayes-robust");
    EXPECT_EQ(view().parameters[0].text, ".153");  // a width above 1 is none
    EXPECT_EQ(console->preferences().number(kPrefsInitialOutput), 44);
    host.prefs = prefsWith({}) + "\tmethod=unknown";
    press(Button::Prefs);
    EXPECT_STREQ(console->activeMethod().key, "pest");
}

// A file gone while Limenta runs: the dialog writes it again before it is applied, and a
// method chosen then stands.
TEST_F(Preferences, AFileGoneWhileRunningIsWrittenAgainFirst) {
    open();
    host.prefs.reset();
    preferencesDialog = [](FakeHost& h) { h.prefs = prefsWith({{kPrefsLowerBound, "25"}}); };
    choose("ml");
    EXPECT_EQ(preferencesOpened, 1);
    EXPECT_STREQ(console->activeMethod().key, "ml");
    EXPECT_EQ(view().parameters[0].text, "25");
}

}  // namespace
}  // namespace limenta::testing
