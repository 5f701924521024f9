#include "gui/sound/mixed_sound_bank.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>

#include "core/sound/wav_info.h"
#include "gui/sound/audio_thread_output.h"

namespace limenta {

namespace {

// "Playing" lasts a little beyond the sound itself, so a digit never starts on the
// very last sample of the one before.
constexpr double kTailSeconds = 0.015;
// The slider spans 50 dB, from barely audible at 1 to full level at 100.
constexpr double kSliderRangeDb = 50.0;

}  // namespace

float linearGain(int sliderVolume) {
    const int position = std::clamp(sliderVolume, 0, 100);
    if (position == 0) {
        return 0.0F;
    }
    // Each slider step is the same number of decibels: the ear hears level, not amplitude.
    return static_cast<float>(std::pow(10.0, kSliderRangeDb * (position - 100) / 100.0 / 20.0));
}

MixedSound::MixedSound(const QString& name, AudioThreadOutput* output, Clocks& clocks)
    : output_(output), clocks_(clocks) {
    QFile file(QStringLiteral(":/assets/%1.wav").arg(name));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const std::string_view wav(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (const auto info = readWavInfo(wav)) {
            seconds_ = info->seconds();
        }
        samples_ = monoSamples(wav);
    }
}

void MixedSound::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
}

void MixedSound::play() {
    if (output_ == nullptr) {
        return;
    }
    output_->mixer().start(samples_, linearGain(volume_));
    playedAt_ = clocks_.microseconds();
}

bool MixedSound::isPlaying() const {
    return output_ != nullptr && playedAt_ >= 0 &&
           (clocks_.microseconds() - playedAt_) / 1e6 < seconds_ + kTailSeconds;
}

MixedSoundBank::MixedSoundBank(Clocks& clocks)
    : MixedSoundBank(clocks, !QMediaDevices::audioOutputs().isEmpty()) {}

MixedSoundBank::MixedSoundBank(Clocks& clocks, bool audible)
    : clocks_(clocks), output_(audible ? std::make_unique<AudioThreadOutput>() : nullptr) {}

MixedSoundBank::~MixedSoundBank() = default;

Sound& MixedSoundBank::sound(const QString& name) {
    auto& slot = sounds_[name];
    if (!slot) {
        slot = std::make_unique<MixedSound>(name, output_.get(), clocks_);
    }
    return *slot;
}

bool MixedSoundBank::streaming() const {
    return output_ != nullptr && output_->streaming();
}

}  // namespace limenta
