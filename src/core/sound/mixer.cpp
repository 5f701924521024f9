#include "core/sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/sound/wav_info.h"

namespace limenta {

std::shared_ptr<const Samples> monoSamples(std::string_view wavBytes) {
    const auto info = readWavInfo(wavBytes);
    if (!info || info->channels != 1 || info->bitsPerSample != 16) {
        return nullptr;
    }
    auto samples = std::make_shared<Samples>(static_cast<std::size_t>(info->frames));
    for (std::size_t i = 0; i < samples->size(); ++i) {
        const std::size_t at = info->dataOffset + 2 * i;
        const auto low = static_cast<unsigned char>(wavBytes[at]);
        const auto high = static_cast<unsigned char>(wavBytes[at + 1]);
        (*samples)[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    return samples;
}

Mixer::Mixer(std::size_t maxVoices) : maxVoices_(std::max<std::size_t>(maxVoices, 1)) {}

void Mixer::start(std::shared_ptr<const Samples> sound, float gain) {
    if (!sound || sound->empty() || gain <= 0.0F) {
        return;
    }
    const std::scoped_lock lock(mutex_);
    if (voices_.size() == maxVoices_) {
        voices_.erase(voices_.begin());
    }
    voices_.push_back({std::move(sound), gain, 0});
}

void Mixer::render(std::span<std::int16_t> out) {
    std::vector<float> sum(out.size(), 0.0F);
    {
        const std::scoped_lock lock(mutex_);
        for (Voice& voice : voices_) {
            const std::size_t count = std::min(out.size(), voice.sound->size() - voice.position);
            for (std::size_t i = 0; i < count; ++i) {
                sum[i] += voice.gain * static_cast<float>((*voice.sound)[voice.position + i]);
            }
            voice.position += count;
        }
        std::erase_if(voices_, [](const Voice& v) { return v.position == v.sound->size(); });
    }
    constexpr float kLowest = std::numeric_limits<std::int16_t>::min();
    constexpr float kHighest = std::numeric_limits<std::int16_t>::max();
    std::transform(sum.begin(), sum.end(), out.begin(), [&](float value) {
        return static_cast<std::int16_t>(std::lround(std::clamp(value, kLowest, kHighest)));
    });
}

std::size_t Mixer::voices() const {
    const std::scoped_lock lock(mutex_);
    return voices_.size();
}

}  // namespace limenta
