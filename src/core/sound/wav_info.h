// What a sound file holds: its format, its length and where its samples start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace limenta {

struct WavInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::int64_t frames = 0;
    std::size_t dataOffset = 0;  // the first sample's byte

    [[nodiscard]] double seconds() const {
        return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0;
    }
};

// Reads a PCM WAV file's format and length; nothing when the bytes are no such file, or a
// header's fields do not fit one another (a block that is not one sample per channel, a
// format other than PCM, no channel, no rate).
std::optional<WavInfo> readWavInfo(std::string_view bytes);

}  // namespace limenta
