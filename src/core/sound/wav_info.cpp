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

}  // namespace

std::optional<WavInfo> readWavInfo(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WavInfo info;
    int blockAlign = 0;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = littleEndian(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            info.channels = static_cast<int>(littleEndian(bytes, body + 2, 2));
            info.sampleRate = static_cast<int>(littleEndian(bytes, body + 4, 4));
            blockAlign = static_cast<int>(littleEndian(bytes, body + 12, 2));
            info.bitsPerSample = static_cast<int>(littleEndian(bytes, body + 14, 2));
            haveFormat = true;
        } else if (id == "data" && haveFormat && blockAlign > 0) {
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
