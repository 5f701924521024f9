// The spoken announcement, stage by stage, and as the console drives it.
#include "core/console/announcer.h"

#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/console/notices.h"

namespace limenta::testing {
namespace {

// Ticks the three stages until every one is off; the digits played.
std::vector<std::string> announce(Announcer& announcer, std::int32_t number, int volume = 85) {
    std::vector<std::string> spoken;
    announcer.start();
    for (int tick = 0; tick < 10; ++tick) {
        for (int stage = 1; stage <= 3; ++stage) {
            if (const auto sound = announcer.tick(stage, number, volume, false)) {
                EXPECT_EQ(sound->volume, volume);
                if (sound->play) {
                    spoken.push_back(sound->name);
                }
            }
        }
    }
    EXPECT_FALSE(announcer.on(1) || announcer.on(2) || announcer.on(3));
    return spoken;
}

TEST(Announcer, SpeaksTheTensAndUnitsAndAHundredsDigitOfOne) {
    Announcer announcer;
    using Digits = std::vector<std::string>;
    EXPECT_EQ(announce(announcer, 100), (Digits{"s1", "s0", "s0"}));
    EXPECT_EQ(announce(announcer, 57), (Digits{"s5", "s7"}));
    EXPECT_EQ(announce(announcer, 7), (Digits{"s0", "s7"}));
    EXPECT_EQ(announce(announcer, 10), (Digits{"s1", "s0"}));
    EXPECT_EQ(announce(announcer, 250), (Digits{"s5", "s0"}));  // only a 1 is spoken
    // At volume 0 nothing plays, and every stage still runs through.
    EXPECT_TRUE(announce(announcer, 57, 0).empty());
}

TEST(Announcer, AStageWaitsWhileHeldAndOnlyItsOwnTickMovesIt) {
    Announcer announcer;
    announcer.start();
    EXPECT_FALSE(announcer.tick(1, 57, 85, true));  // a digit still sounds
    EXPECT_TRUE(announcer.on(1));
    EXPECT_FALSE(announcer.tick(2, 57, 85, false));  // not on: nothing
    EXPECT_FALSE(announcer.tick(1, 57, 85, false));  // silent hundreds, hands over
    EXPECT_FALSE(announcer.on(1));
    EXPECT_TRUE(announcer.on(2));
    EXPECT_EQ(announcer.tick(2, 57, 85, false)->name, "s5");
    // A new answer: the first announcement's units speak the new number's, then the new
    // announcement runs in full.
    announcer.start();
    EXPECT_EQ(announcer.tick(3, 43, 85, false)->name, "s3");
    EXPECT_FALSE(announcer.tick(1, 43, 85, false));
    EXPECT_EQ(announcer.tick(2, 43, 85, false)->name, "s4");
    EXPECT_EQ(announcer.tick(3, 43, 85, false)->name, "s3");
    announcer.start();
    announcer.stop();
    EXPECT_FALSE(announcer.on(1));
}

using Announcement = ConsoleTest;

TEST_F(Announcement, AnAnswerIsAnnouncedAtTheVoiceVolumeOnceTheWaitAndTheVoiceAllow) {
    open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    console->moved(Console::Slider::Click, 40);
    press(Button::Start);
    type("y");
    EXPECT_EQ(played, std::vector<std::string>{"Click"});
    EXPECT_EQ(volumes, std::vector<int>{40});
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce1));
    host.sounding = true;  // a digit still sounding holds every stage
    speakNextOutput();
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce1));
    host.sounding = false;
    speakNextOutput();
    EXPECT_EQ(played, (std::vector<std::string>{"Click", "s4", "s3"}));
    EXPECT_EQ(volumes.back(), 85);
    for (const bool on : view().timers) {
        EXPECT_FALSE(on);
    }
}

TEST_F(Announcement, NoAudioDeviceIsToldInTheNoticeAndTheIndicatorStays) {
    open(defaultPrefsText(), false);
    EXPECT_TRUE(view().noSound);
    EXPECT_EQ(view().notice, notice::kNoSound);
    type("y");  // a later notice takes the notice's place; the indicator stays
    EXPECT_EQ(view().notice, notice::kPressStart);
    EXPECT_TRUE(view().noSound);
    open();
    EXPECT_FALSE(view().noSound);
}

}  // namespace
}  // namespace limenta::testing
