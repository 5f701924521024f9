// Sound against a real audio server: however fast the cues come, no call holds the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "core/prefs/prefs_format.h"
#include "core/sound/mixer.h"
#include "gui/fakes/controls.h"
#include "gui/fakes/fake_platform.h"
#include "gui/main_window/window1.h"
#include "gui/platform/qt_platform.h"
#include "gui/prefs/prefs_store.h"
#include "gui/sound/mixed_sound_bank.h"
#include "gui/sound/null_sink_server.h"

namespace limenta::testing {
namespace {

constexpr double kMsPerTick = 1000.0 / 60.0;

void requireServer() {
    const NullSinkServer* server = NullSinkServer::instance;
    if (server == nullptr || !server->running()) {
        GTEST_SKIP() << "no audio server for this test: "
                     << (server != nullptr ? server->whyNotRunning().toStdString()
                                           : std::string("not started"));
    }
}

bool waitUntilStreaming(const MixedSoundBank& bank) {
    for (int i = 0; i < 500 && !bank.streaming(); ++i) {
        QTest::qWait(10);
    }
    return bank.streaming();
}

// The longest time the event loop went without running a 2 ms timer.
class EventLoopWatch {
  public:
    EventLoopWatch() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestMs_ = std::max(longestMs_, since_.nsecsElapsed() / 1e6);
            since_.restart();
        });
        since_.start();
        timer_.start();
    }
    [[nodiscard]] double longestMs() const { return longestMs_; }

  private:
    QTimer timer_;
    QElapsedTimer since_;
    double longestMs_ = 0.0;
};

TEST(RealAudioServer, ThreeHundredMixedCuesFiveMsApartNeverHoldTheCaller) {
    requireServer();
    SystemClocks clocks;
    MixedSoundBank bank(clocks);
    ASSERT_TRUE(bank.available()) << "the null sink is an audio output";
    ASSERT_TRUE(waitUntilStreaming(bank)) << "the server took the stream";

    // Listen to what reaches the sink while the cues are played.
    const QTemporaryDir recording;
    const QString heardPath = recording.filePath(QStringLiteral("heard.raw"));
    QProcess recorder;
    recorder.start(QStringLiteral("parec"),
                   QStringList{QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"),
                               QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                               QStringLiteral("--rate=44100"), QStringLiteral("--latency-msec=100"),
                               heardPath});
    ASSERT_TRUE(recorder.waitForStarted(5000));

    const QStringList names{QStringLiteral("s0"), QStringLiteral("s1"), QStringLiteral("s7"),
                            QStringLiteral("Click"), QStringLiteral("ding2")};
    double longestMs = 0.0;
    for (int i = 0; i < 300; ++i) {
        Sound& cue = bank.sound(names[i % names.size()]);
        cue.setVolume(100);
        QElapsedTimer call;
        call.start();
        cue.play();
        longestMs = std::max(longestMs, call.nsecsElapsed() / 1e6);
        QTest::qWait(5);
    }
    std::cout << "longest play call of 300: " << longestMs << " ms\n";
    EXPECT_LT(longestMs, 100.0);
    EXPECT_TRUE(bank.streaming());
    // One stream for every cue, not one per play.
    const QString inputs = NullSinkServer::tool(
        QStringLiteral("pactl"),
        {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    EXPECT_EQ(inputs.count(QStringLiteral("protocol-native")), 1) << inputs.toStdString();

    // The sink's monitor delivers late, but whole: wait until it has passed on as much
    // sound as was played.
    for (int i = 0; i < 100 && QFileInfo(heardPath).size() < 2 * 44100 * 2; ++i) {
        QTest::qWait(100);
    }
    recorder.terminate();
    recorder.waitForFinished(5000);
    QFile heardFile(heardPath);
    ASSERT_TRUE(heardFile.open(QIODevice::ReadOnly));
    const QByteArray heard = heardFile.readAll();
    const auto samples = std::span(reinterpret_cast<const std::int16_t*>(heard.constData()),
                                   static_cast<std::size_t>(heard.size()) / 2);
    ASSERT_GE(samples.size(), 2U * 44100U) << "two seconds were recorded; parec said: "
                                           << recorder.readAllStandardError().toStdString();
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_GT(std::max(-static_cast<int>(*low), static_cast<int>(*high)), 3000)
        << "the cues were heard at the sink";
}

struct Storm {
    bool ml;
    bool withDevice;
};

class AnswerStorm : public ::testing::TestWithParam<Storm> {};

// The operator answers as soon as each answer's wait has ended, a hundred times, with
// every volume at full: the window must go on handling events throughout. Without a
// device nothing is played: thirty answers show it in less than a third of the time.
TEST_P(AnswerStorm, AHundredAnswersNeverHoldTheWindowAndResetAnswersAtOnce) {
    const Storm storm = GetParam();
    const int answers = storm.withDevice ? 100 : 30;
    if (storm.withDevice) {
        requireServer();
    }
    QTemporaryDir dir;
    Settings settings = kDefaultSettings;
    settings.voiceVolume = settings.signalVolume = settings.clickVolume = 100;
    settings.useMlPest = storm.ml;
    {
        QFile prefs(dir.filePath(QStringLiteral("PREFS")));
        ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
        prefs.write(QByteArray::fromStdString(composePrefs(settings)));
    }
    SystemClocks clocks;
    MixedSoundBank bank(clocks, storm.withDevice);
    if (storm.withDevice) {
        ASSERT_TRUE(waitUntilStreaming(bank));
    }
    FakeDialogs dialogs;
    Platform platform{bank, clocks, dialogs};
    PrefsStore store(dir.filePath(QStringLiteral("PREFS")));
    Window1 window(platform, store);
    window.Event_Open();
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const Controls ui(&window);
    ui.button("PushButton1")->click();  // Start
    ASSERT_TRUE(window.console().runInProgress());
    const auto stepnum = [&window] { return window.console().run()->state().stepnum; };

    const EventLoopWatch watch;
    QElapsedTimer since;
    since.start();
    double longestWaitMs = 0.0;
    while (stepnum() < answers && since.elapsed() < 120'000) {
        const int before = stepnum();
        // A subject whose threshold is 45 % of the stimulator's output.
        const char key = window.console().run()->output() >= 45 ? 'y' : 'n';
        QTest::keyClick(window.windowHandle(), key);  // taken only once the wait has ended
        if (stepnum() > before) {
            since.restart();
        }
        QTest::qWait(1);
        // Another key between two answers, so no press repeats the one just released: this
        // is a storm of presses, not a held key.
        QTest::keyClick(window.windowHandle(), 'x');
        QTest::qWait(1);
        longestWaitMs = std::max(longestWaitMs, static_cast<double>(since.elapsed()));
    }
    ASSERT_EQ(stepnum(), answers);
    const double wait = kAnswerWaitTicks * kMsPerTick;
    std::cout << (storm.ml ? "ML-PEST" : "adaptive PEST")
              << (storm.withDevice ? ", sound on" : ", no device") << ": longest event-loop hold "
              << watch.longestMs() << " ms, longest gap between "
              << "answers " << longestWaitMs << " ms\n";
    EXPECT_LT(watch.longestMs(), wait + 100.0);
    EXPECT_LT(longestWaitMs, wait + 100.0);

    QElapsedTimer reset;
    reset.start();
    ui.button("PushButton3")->click();
    EXPECT_LT(reset.elapsed(), 100);
    EXPECT_FALSE(window.console().runInProgress());
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, AnswerStorm,
                         ::testing::Values(Storm{false, true}, Storm{true, true},
                                           Storm{false, false}, Storm{true, false}),
                         [](const ::testing::TestParamInfo<Storm>& info) {
                             return std::string(info.param.ml ? "MlPest" : "AdaptivePest") +
                                    (info.param.withDevice ? "WithSound" : "WithoutDevice");
                         });

}  // namespace
}  // namespace limenta::testing
