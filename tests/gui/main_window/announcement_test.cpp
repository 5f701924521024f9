// The spoken announcement in the window: the stages on their timers, the digits played
// through the sound bank at the voice's volume, a digit still sounding holding them back, and
// no audio device told in the status bar.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

using AudibleCues = MainWindowTest;

TEST_F(AudibleCues, TheStagesRunOnTheirTimersAndSpeakThroughTheSoundBank) {
    open(prefsWith({{kPrefsVoiceVolume, "85"}, {kPrefsInitialOutput, "64"}}));
    click("PushButton1");
    type("y");  // 57 next
    fake.sounds.played.clear();
    EXPECT_TRUE(ui.timer("Timer1")->isActive());
    fake.sounds.fake("s4").playing = true;  // a digit still sounding holds the stage back
    tick("Timer1");
    EXPECT_TRUE(ui.timer("Timer1")->isActive());
    EXPECT_TRUE(fake.sounds.played.empty());
    fake.sounds.fake("s4").playing = false;
    fake.sounds.fake("Click").playing = true;  // a click does not
    speakNextOutput();
    EXPECT_EQ(fake.sounds.played, (std::vector<QString>{"s5", "s7"}));
    EXPECT_EQ(fake.sounds.fake("s5").volume(), 85);
    for (const char* stage : {"Timer1", "Timer2", "Timer3"}) {
        EXPECT_FALSE(ui.timer(stage)->isActive()) << stage;
    }
}

TEST_F(AudibleCues, VoiceVolumeZeroSetsTheVolumeAndPlaysNothing) {
    open();  // the stored speech volume is 0
    ASSERT_EQ(ui.slider("Slider1")->value(), 0);
    click("PushButton1");
    type("y");
    fake.sounds.played.clear();
    speakNextOutput();
    EXPECT_TRUE(fake.sounds.played.empty());
    EXPECT_EQ(fake.sounds.fake("s4").volume(), 0);
}

TEST_F(AudibleCues, NoAudioDeviceIsToldQuietlyAndTheIndicatorStays) {
    fake.sounds.audible = false;
    Window1& w = open();
    EXPECT_TRUE(fake.dialogs.messages.empty());
    // A menu's status tip covers the notice for a moment, and its end brings it back; the
    // indicator stays throughout.
    w.statusBar()->showMessage(QStringLiteral("a menu's tip"));
    w.statusBar()->clearMessage();
    const auto* notice = w.statusBar()->findChild<QLabel*>(QStringLiteral("StatusNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), "No sound: no audio device was found.");
    EXPECT_EQ(notice->toolTip(), "No sound: no audio device was found. Limenta works silently.");
    const auto* indicator = w.statusBar()->findChild<QLabel*>(QStringLiteral("NoSoundIndicator"));
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_EQ(indicator->text(), QStringLiteral("No sound"));
    EXPECT_EQ(indicator->toolTip(),
              QStringLiteral("No sound: no audio device was found. Limenta works silently."));
    type("y");  // another notice takes the notice's place; the indicator stays
    EXPECT_EQ(notice->text(), "Press Start to begin a run");
    EXPECT_EQ(w.statusBar()->findChildren<QLabel*>(QStringLiteral("NoSoundIndicator")).size(), 1);
}

TEST_F(AudibleCues, WithAnAudioDeviceThereIsNoIndicator) {
    Window1& w = open();
    EXPECT_EQ(w.statusBar()->findChild<QLabel*>(QStringLiteral("NoSoundIndicator")), nullptr);
}

}  // namespace
}  // namespace limenta::testing
