// Mixes the program's short cues into one stream of 16-bit mono samples, so the audio
// server only ever sees one stream however fast the cues come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

namespace limenta {

using Samples = std::vector<std::int16_t>;

// The samples of a 16-bit mono PCM WAV file; nothing when the bytes hold another format.
std::shared_ptr<const Samples> monoSamples(std::string_view wavBytes);

// Safe to use from two threads: cues are started on one, the stream is rendered on another.
// Neither ever waits on anything but a few microseconds of mixing.
class Mixer {
  public:
    // At most `maxVoices` cues sound at once; starting one more cuts the oldest.
    explicit Mixer(std::size_t maxVoices);

    void start(std::shared_ptr<const Samples> sound, float gain);
    // Fills `out` with the sum of the sounding cues (silence when none), clipped to the
    // 16-bit range, and moves them on.
    void render(std::span<std::int16_t> out);
    [[nodiscard]] std::size_t voices() const;

  private:
    struct Voice {
        std::shared_ptr<const Samples> sound;
        float gain;
        std::size_t position;
    };

    std::size_t maxVoices_;
    mutable std::mutex mutex_;
    std::vector<Voice> voices_;  // oldest first
};

}  // namespace limenta
