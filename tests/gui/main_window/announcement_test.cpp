// The spoken announcement, driven tick by tick.
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

class AudibleCues : public MainWindowTest {
  protected:
    // Runs the three stages' ticks until every timer is off; returns the digits spoken.
    std::vector<QString> announce(int number) {
        Window1& w = *window;
        w.state().clippedThresh = number;
        fake.sounds.played.clear();
        w.Timer1->start();
        speakNextOutput();
        EXPECT_FALSE(w.Timer1->isActive() || w.Timer2->isActive() || w.Timer3->isActive());
        return fake.sounds.played;
    }
};

TEST_F(AudibleCues, SpeaksTheDigitsOfTheNextOutput) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    using Digits = std::vector<QString>;
    EXPECT_EQ(announce(100), (Digits{"s1", "s0", "s0"}));
    EXPECT_EQ(announce(57), (Digits{"s5", "s7"}));
    EXPECT_EQ(announce(7), (Digits{"s0", "s7"}));
    EXPECT_EQ(announce(10), (Digits{"s1", "s0"}));
    EXPECT_EQ(fake.sounds.fake("s0").volume(), 85);
    EXPECT_EQ(w.sss[3], &fake.sounds.sound(QStringLiteral("s3")));
}

TEST_F(AudibleCues, VoiceVolumeZeroPlaysNothingButRunsThroughEveryStage) {
    Window1& w = open();  // the stored speech volume is 0
    ASSERT_EQ(w.Slider1->value(), 0);
    EXPECT_TRUE(announce(57).empty());
    EXPECT_EQ(fake.sounds.fake("s5").volume(), 0);
}

TEST_F(AudibleCues, ADigitStillPlayingHoldsTheStageBack) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    w.state().clippedThresh = 57;
    fake.sounds.fake("s4").playing = true;
    w.Timer1->start();
    w.Timer1_Action();
    w.Timer1_Action();
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_TRUE(fake.sounds.played.empty());
    fake.sounds.fake("s4").playing = false;
    w.Timer1_Action();
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(w.Timer2->isActive());
    // A click still playing does not hold the digits back.
    fake.sounds.fake("Click").playing = true;
    w.Timer2_Action();
    EXPECT_EQ(fake.sounds.played, std::vector<QString>{"s5"});
}

TEST_F(AudibleCues, ANewAnswerChangesTheDigitsStillToCome) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    w.state().clippedThresh = 57;
    w.Timer1->start();
    w.Timer1_Action();             // silent hundreds, hands over to the tens
    w.Timer2_Action();             // "five"
    w.state().clippedThresh = 43;  // the operator answered again
    w.Timer1->start();
    w.Timer3_Action();  // the first announcement's units now speak the new number's
    w.Timer1_Action();
    w.Timer2_Action();
    w.Timer3_Action();
    EXPECT_EQ(fake.sounds.played, (std::vector<QString>{"s5", "s3", "s4", "s3"}));
}

TEST_F(AudibleCues, AnAnswerStartsTheAnnouncementAtTheSliderVolumes) {
    Window1& w = open();
    w.Slider3->setValue(40);
    w.PushButton1->click();
    type("y");
    EXPECT_EQ(fake.sounds.fake("Click").playedAtVolume, std::vector<int>{40});
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.state().clippedThresh, 43);
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
}

TEST_F(AudibleCues, WithAnAudioDeviceThereIsNoIndicator) {
    Window1& w = open();
    EXPECT_EQ(w.statusBar()->findChild<QLabel*>(QStringLiteral("NoSoundIndicator")), nullptr);
}

}  // namespace
}  // namespace limenta::testing
