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
    EXPECT_DOUBLE_EQ(info->seconds(), 0.01);
}

}  // namespace
}  // namespace limenta
