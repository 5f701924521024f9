// The header reader that tells how long a sound lasts.
#include "core/sound/wav_info.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

TEST(WavInfo, RefusesAHeaderWhoseFieldsDoNotFitOneAnother) {
    // Mono 16-bit at 44100 Hz, then the same header with one field changed: the block
    // alignment (offset 32), the format tag (20), the channels (22), the bits (34), the rate.
    const std::string good(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0"
        "data\x08\0\0\0\0\0\0\0\0\0\0\0",
        52);
    ASSERT_TRUE(readWavInfo(good));
    // Every depth a PCM file has, with the block that fits it: stereo 24-bit, 8-bit, 32-bit.
    for (const auto& [bits, block] :
         {std::pair{'\x18', '\x06'}, {'\x08', '\x02'}, {'\x20', '\x08'}}) {
        std::string other = good;
        other[22] = '\x02';  // two channels
        other[32] = block;
        other[34] = bits;
        EXPECT_TRUE(readWavInfo(other)) << static_cast<int>(bits);
    }
    const std::vector<std::pair<std::size_t, std::string>> bad{
        {32, std::string("\x01\0", 2)},  {32, std::string("\x04\0", 2)},
        {20, std::string("\x03\0", 2)},  {20, std::string("\xfe\xff", 2)},
        {22, std::string("\0\0", 2)},    {34, std::string("\x0c\0", 2)},
        {24, std::string("\0\0\0\0", 4)}};
    for (const auto& [at, bytes] : bad) {
        std::string wav = good;
        wav.replace(at, bytes.size(), bytes);
        EXPECT_FALSE(readWavInfo(wav)) << "field at " << at;
    }
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
