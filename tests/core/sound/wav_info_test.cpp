// The header reader that tells how long a sound lasts.
#include "core/sound/wav_info.h"

#include <gtest/gtest.h>

#include <string>

namespace limenta {
namespace {

TEST(WavInfo, ReadsTheFormatAndRefusesOtherBytes) {
    EXPECT_FALSE(readWavInfo(""));
    EXPECT_FALSE(readWavInfo("RIFF\x10\0\0\0WAVEfmt "));
    EXPECT_FALSE(readWavInfo(std::string(100, 'x')));
    // A header whose data chunk claims more than the file holds counts what is there.
    std::string wav(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0"
        "data\xff\xff\xff\x7f",
        44);
    wav += std::string(882, '\0');
    const auto info = readWavInfo(wav);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->frames, 441);
    EXPECT_EQ(info->sampleRate, 44100);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->bitsPerSample, 16);
    EXPECT_DOUBLE_EQ(info->seconds(), 0.01);
    EXPECT_EQ(info->dataOffset, 44U);
}

TEST(WavInfo, AnEmptyDataChunkAtTheVeryEndIsASoundOfNoFrames) {
    const std::string wav(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0"
        "data\0\0\0\0",
        44);
    const auto info = readWavInfo(wav);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->frames, 0);
}

TEST(WavInfo, SkipsOtherChunksWithTheirPaddingByte) {
    // A stereo 8-bit format, then a "LIST" chunk of odd length (3 bytes and a pad), then
    // 100 frames of two bytes each.
    std::string wav(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x22\x56\0\0\x44\xac\0\0\x02\0\x08\0"
        "LIST\x03\0\0\0abc\0"
        "data\xc8\0\0\0",
        56);
    wav += std::string(200, '\x80');
    const auto info = readWavInfo(wav);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->sampleRate, 22050);
    EXPECT_EQ(info->bitsPerSample, 8);
    EXPECT_EQ(info->frames, 100);
    EXPECT_EQ(info->dataOffset, 56U);  // past the padded chunk
}

}  // namespace
}  // namespace limenta
