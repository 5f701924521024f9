// The embedded sounds and the bank that plays them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTest>
#include <cmath>

#include "core/sound/mixer.h"
#include "core/sound/wav_info.h"
#include "gui/fakes/fake_platform.h"
#include "gui/sound/mixed_sound_bank.h"

namespace limenta::testing {
namespace {

std::optional<WavInfo> embedded(const QString& name) {
    QFile file(QStringLiteral(":/assets/%1.wav").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return readWavInfo(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

TEST(Assets, EveryEmbeddedSoundLoadsAndDecodes) {
    for (int d = 0; d <= 9; ++d) {
        const auto digit = embedded(QStringLiteral("s%1").arg(d));
        ASSERT_TRUE(digit) << d;
        EXPECT_EQ(digit->sampleRate, 44100);
        EXPECT_EQ(digit->bitsPerSample, 16);
        EXPECT_EQ(digit->channels, 1);
        // Short enough that "one, zero, zero" is over within two seconds.
        EXPECT_GT(digit->seconds(), 0.2) << d;
        EXPECT_LT(digit->seconds(), 0.6) << d;
    }
    for (const char* name : {"s0", "s5", "s9", "Click", "ding2"}) {
        QFile file(QStringLiteral(":/assets/%1.wav").arg(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto samples = monoSamples(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        ASSERT_TRUE(samples) << name;  // the mixer plays 16-bit mono only
        EXPECT_GT(*std::max_element(samples->begin(), samples->end()), 1000) << name;  // not silent
    }
    const auto click = embedded(QStringLiteral("Click"));
    ASSERT_TRUE(click);
    EXPECT_LT(click->seconds(), 0.2);
    const auto signal = embedded(QStringLiteral("ding2"));
    ASSERT_TRUE(signal);
    EXPECT_GT(signal->seconds(), 0.5);
    EXPECT_LT(signal->seconds(), 1.0);
    EXPECT_EQ(QImage(QStringLiteral(":/assets/NewSplash.png")).size(), QSize(550, 387));
}

TEST(MixedSoundBank, PlayingLastsAsLongAsTheSoundItself) {
    FakeClocks clocks;
    MixedSoundBank bank(clocks, true);
    auto& one = dynamic_cast<MixedSound&>(bank.sound(QStringLiteral("s1")));
    EXPECT_EQ(&one, &bank.sound(QStringLiteral("s1")));  // loaded once, shared
    EXPECT_FALSE(one.isPlaying());
    one.setVolume(0);  // silent in a test
    clocks.micros = 5'000'000;
    one.play();
    const double seconds = embedded(QStringLiteral("s1"))->seconds();
    clocks.micros += seconds * 1e6;
    EXPECT_TRUE(one.isPlaying());
    clocks.micros += 20'000;
    EXPECT_FALSE(one.isPlaying());
}

TEST(MixedSoundBank, WithoutAnAudioDeviceNothingEverPlays) {
    FakeClocks clocks;
    MixedSoundBank bank(clocks, false);
    EXPECT_FALSE(bank.available());
    Sound& zero = bank.sound(QStringLiteral("s0"));
    zero.play();
    EXPECT_FALSE(zero.isPlaying());  // the announcement never waits for silence that never ends
}

TEST(MixedSoundBank, EqualSliderStepsAreEqualLoudnessSteps) {
    EXPECT_EQ(linearGain(0), 0.0F);
    EXPECT_FLOAT_EQ(linearGain(100), 1.0F);
    EXPECT_EQ(linearGain(150), linearGain(100));
    for (int v = 1; v <= 90; ++v) {
        const double step = 20 * std::log10(linearGain(v + 10) / linearGain(v));
        EXPECT_NEAR(step, 5.0, 1e-4) << v;  // ten slider steps: always 5 dB louder
    }
}

}  // namespace
}  // namespace limenta::testing
