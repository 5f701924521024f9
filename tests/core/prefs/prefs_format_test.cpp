#include "core/prefs/prefs_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace limenta {
namespace {

TEST(PrefsFormat, FieldsAreSplitAtTabsCountedFromOne) {
    const PrefsText prefs(defaultPrefsText());
    EXPECT_TRUE(prefs.marked());
    EXPECT_EQ(prefs.field(1), "PESTPREFS");
    EXPECT_EQ(prefs.field(4), ".45");
    EXPECT_EQ(prefs.number(4), 0.45);
    EXPECT_EQ(prefs.field(17), "ENDOFFILE");
    EXPECT_EQ(prefs.field(18), "");
    EXPECT_EQ(prefs.key(kPrefsSuccessKey, 0), 121);
    EXPECT_EQ(prefs.volume(kPrefsSignalVolume), 100);
}

TEST(PrefsFormat, TheWriterPutsFifteenValuesBetweenTheMarkers) {
    std::array<std::string, kPrefsFieldCount - 2> values{
        "50", "7", ".45", "0", "100", "100", "121", "110", "0", "0", "20", "80", "7", ".45", "0"};
    const std::string defaults =
        "PESTPREFS\t50\t7\t.45\t0\t100\t100\t121\t110\t0\t0\t20\t80\t7\t.45\t0\tENDOFFILE";
    EXPECT_EQ(composePrefs(values), defaults);
    EXPECT_EQ(defaultPrefsText(), defaults);
}

TEST(PrefsFormat, SettingsGoThroughTheFileAndBackFieldByField) {
    // Every field distinct, so a swap of any two cannot pass.
    const Settings written{"45.5", "4",   ".3", 11,   22,  33,   'a',  'b',
                           true,   false, "30", "70", "9", ".2", true, {}};
    const std::string text = composePrefs(written);
    EXPECT_EQ(text,
              "PESTPREFS\t45.5\t4\t.3\t11\t22\t33\t97\t98\t1\t0\t30\t70\t9\t.2\t1\tENDOFFILE");
    const Settings read = readSettings(PrefsText(text));
    EXPECT_EQ(composePrefs(read), text);
    EXPECT_EQ(read.signalVolume, 22);
    EXPECT_EQ(read.clickVolume, 33);
    EXPECT_EQ(read.failKey, 'b');
    EXPECT_FALSE(read.failAll);
}

TEST(PrefsFormat, NumbersMayHaveADecimalComma) {
    const PrefsText prefs("PESTPREFS\t52,5\t7\t0,45\t0\t100\t100\t121\t110\t0\t0\t20\t80\t7,9\t,2");
    EXPECT_EQ(prefs.field(kPrefsInitialOutput), "52,5");  // kept as typed
    EXPECT_EQ(prefs.number(kPrefsInitialOutput), 52.5);
    EXPECT_EQ(prefs.number(kPrefsDiffThreshold), 0.45);
    EXPECT_EQ(prefs.whole(kPrefsSpread), 7);
    EXPECT_EQ(prefs.number(kPrefsMlDiffThreshold), 0.2);
}

TEST(PrefsFormat, AWrongMarkerIsNotOurs) {
    EXPECT_FALSE(PrefsText("PESTPREF\t50").marked());
    EXPECT_FALSE(PrefsText("").marked());
    EXPECT_FALSE(PrefsText(" PESTPREFS\t50").marked());
    EXPECT_TRUE(PrefsText("PESTPREFS").marked());
}

TEST(PrefsFormat, MissingFieldsReadAsEmptyTextAndZero) {
    const PrefsText cut("PESTPREFS\t50\t7\t.45\t0\t100\t100\t121\t110");
    EXPECT_FALSE(cut.flag(kPrefsSuccessAll));
    EXPECT_FALSE(cut.flag(kPrefsFailAll));
    EXPECT_EQ(cut.whole(kPrefsLowerBound), 0);
    EXPECT_EQ(cut.number(kPrefsMlDiffThreshold), 0.0);
    EXPECT_FALSE(cut.flag(kPrefsUseMlPest));
    EXPECT_EQ(cut.field(kPrefsSpread), "");
}

TEST(PrefsFormat, ValuesAreMadeSafe) {
    const PrefsText odd(
        "PESTPREFS\tnan\t1e999\tabc\t-5\t250\t99.9\t0\t1114112\ttrue\t1 \t3.7\t-2\t\tinf\t1");
    EXPECT_EQ(odd.number(kPrefsInitialOutput), 0.0);
    EXPECT_EQ(odd.number(kPrefsStepSize), 0.0);
    EXPECT_EQ(odd.number(kPrefsDiffThreshold), 0.0);
    EXPECT_EQ(odd.volume(kPrefsVoiceVolume), 0);
    EXPECT_EQ(odd.volume(kPrefsSignalVolume), 100);
    EXPECT_EQ(odd.volume(kPrefsClickVolume), 99);
    EXPECT_EQ(odd.key(kPrefsSuccessKey, 121), 121);  // 0 is no key
    EXPECT_EQ(odd.key(kPrefsFailKey, 110), 110);     // beyond Unicode
    EXPECT_FALSE(odd.flag(kPrefsSuccessAll));        // "true" is not "1"
    EXPECT_FALSE(odd.flag(kPrefsFailAll));           // nor is "1 "
    EXPECT_EQ(odd.whole(kPrefsLowerBound), 3);
    EXPECT_EQ(odd.whole(kPrefsUpperBound), -2);
    EXPECT_EQ(odd.number(kPrefsMlDiffThreshold), 0.0);
    EXPECT_TRUE(odd.flag(kPrefsUseMlPest));
    EXPECT_EQ(PrefsText("PESTPREFS\t\t\t\t\t\t\t\t-7").key(kPrefsSuccessKey, 121), 121);
}

TEST(PrefsFormat, RandomAndCutFilesNeverGiveAnUnsafeValue) {
    std::mt19937 random(20261208);
    const std::string alphabet = "PESTPREFS\t0123456789.-+eE nainf\x01\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        if (round % 3 == 0) {
            text = defaultPrefsText().substr(0, random() % 90);
        } else {
            const std::size_t length = random() % 200;
            for (std::size_t i = 0; i < length; ++i) {
                text += alphabet[random() % alphabet.size()];
            }
        }
        const PrefsText prefs(text);
        for (int n = 1; n <= kPrefsFieldCount + 1; ++n) {
            ASSERT_TRUE(std::isfinite(prefs.number(n))) << text;
            ASSERT_GE(prefs.volume(n), 0);
            ASSERT_LE(prefs.volume(n), 100);
            const std::int32_t key = prefs.key(n, 121);
            ASSERT_GE(key, 1);
            ASSERT_LE(key, 0x10FFFF);
        }
    }
}

}  // namespace
}  // namespace limenta
