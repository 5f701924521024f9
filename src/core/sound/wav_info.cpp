#include "core/sound/wav_info.h"

namespace limenta {

namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

constexpr std::uint32_t kPcm = 1;

// A PCM format whose fields agree with one another: a frame is one whole sample for each
// channel, so a reader that takes `frames` frames of that size stays inside the data.
bool consistent(std::uint32_t format, const WavInfo& info, int blockAlign) {
    const bool knownDepth = info.bitsPerSample == 8 || info.bitsPerSample == 16 ||
                            info.bitsPerSample == 24 || info.bitsPerSample == 32;
    return format == kPcm && info.channels >= 1 && info.sampleRate > 0 && knownDepth &&
           blockAlign == info.channels * (info.bitsPerSample / 8);
}

}  // namespace

std::optional<WavInfo> readWavInfo(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WavInfo info;
    int blockAlign = 0;
    std::uint32_t format = 0;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = littleEndian(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            format = littleEndian(bytes, body, 2);
            info.channels = static_cast<int>(littleEndian(bytes, body + 2, 2));
            info.sampleRate = static_cast<int>(littleEndian(bytes, body + 4, 4));
            blockAlign = static_cast<int>(littleEndian(bytes, body + 12, 2));
            info.bitsPerSample = static_cast<int>(littleEndian(bytes, body + 14, 2));
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            if (!consistent(format, info, blockAlign)) {
                return std::nullopt;
            }
            const std::size_t available = bytes.size() - body;
            info.frames =
                static_cast<std::int64_t>(std::min<std::size_t>(size, available)) / blockAlign;
            info.dataOffset = body;
            return info;
        }
        at = body + size + (size % 2);  // chunks are padded to an even length
    }
    return std::nullopt;
}

}  // namespace limenta
