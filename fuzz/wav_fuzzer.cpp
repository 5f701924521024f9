// libFuzzer target over the sound file reader: whatever the bytes, the frames it reports
// lie inside them, and turning them into samples reads nothing beyond.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/sound/mixer.h"
#include "core/sound/wav_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace limenta;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto info = readWavInfo(bytes)) {
        const auto frameBytes = static_cast<std::size_t>(info->channels) *
                                static_cast<std::size_t>(info->bitsPerSample / 8);
        if (info->frames < 0 || info->dataOffset > size ||
            static_cast<std::size_t>(info->frames) * frameBytes > size - info->dataOffset) {
            std::abort();
        }
    }
    (void)monoSamples(bytes);  // the sanitizers watch every read
    return 0;
}
