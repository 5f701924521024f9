// The mixer that puts every cue into one stream.
#include "core/sound/mixer.h"

#include <gtest/gtest.h>

#include <string>

namespace limenta {
namespace {

std::shared_ptr<const Samples> sound(Samples samples) {
    return std::make_shared<const Samples>(std::move(samples));
}

Samples render(Mixer& mixer, std::size_t frames) {
    Samples out(frames, 12345);  // whatever the buffer held before
    mixer.render(out);
    return out;
}

TEST(MonoSamples, DecodesLittleEndianSamplesAndRefusesOtherFormats) {
    std::string mono(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0"
        "data\x06\0\0\0\x01\x02\xff\xff\x00\x80",
        50);
    const auto samples = monoSamples(mono);
    ASSERT_TRUE(samples);
    EXPECT_EQ(*samples, (Samples{0x0201, -1, -32768}));

    std::string stereo = mono;
    stereo[22] = '\x02';
    EXPECT_FALSE(monoSamples(stereo));
    std::string eightBit = mono;
    eightBit[34] = '\x08';
    EXPECT_FALSE(monoSamples(eightBit));
    EXPECT_FALSE(monoSamples("not a sound"));
}

TEST(Mixer, SumsTheSoundingCuesWithTheirGainsThenFallsSilent) {
    Mixer mixer(4);
    EXPECT_EQ(render(mixer, 3), (Samples{0, 0, 0}));  // silence, not the old buffer
    mixer.start(sound({1000, 2000, 3000}), 1.0F);
    mixer.start(sound({100, 100}), 0.5F);
    EXPECT_EQ(mixer.voices(), 2U);
    EXPECT_EQ(render(mixer, 2), (Samples{1050, 2050}));
    EXPECT_EQ(mixer.voices(), 1U);  // the short cue has ended
    EXPECT_EQ(render(mixer, 3), (Samples{3000, 0, 0}));
    EXPECT_EQ(mixer.voices(), 0U);
}

TEST(Mixer, ClipsToTheSixteenBitRangeRatherThanWrapping) {
    Mixer mixer(4);
    mixer.start(sound({30000, -30000}), 1.0F);
    mixer.start(sound({30000, -30000}), 1.0F);
    EXPECT_EQ(render(mixer, 2), (Samples{32767, -32768}));
}

TEST(Mixer, KeepsAtMostItsVoicesByCuttingTheOldest) {
    Mixer mixer(2);
    mixer.start(sound({1, 1}), 1.0F);
    mixer.start(sound({10, 10}), 1.0F);
    mixer.start(sound({100, 100}), 1.0F);
    mixer.start(sound({7}), 0.0F);  // a silent cue takes no voice
    mixer.start(nullptr, 1.0F);     // nor does a sound that failed to load
    EXPECT_EQ(mixer.voices(), 2U);
    EXPECT_EQ(render(mixer, 2), (Samples{110, 110}));
}

}  // namespace
}  // namespace limenta
