#include "gui/sound/effect_sound_bank.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/sound/wav_info.h"

namespace limenta {

namespace {

// "Playing" lasts a little beyond the sound itself, so a digit never starts on the
// very last sample of the one before.
constexpr double kTailSeconds = 0.015;
// A played effect is kept this long after its sound has ended, then deleted.
constexpr int kRetireMs = 3000;
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

EffectSound::EffectSound(const QString& name, bool audible, Clocks& clocks)
    : source_(QStringLiteral("qrc:/assets/%1.wav").arg(name)), audible_(audible), clocks_(clocks) {
    QFile file(QStringLiteral(":/assets/%1.wav").arg(name));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (const auto info = readWavInfo(std::string_view(bytes.constData(), bytes.size()))) {
            seconds_ = info->seconds();
        }
    }
    if (audible_) {
        next_ = loadedEffect();
    }
}

EffectSound::~EffectSound() = default;

QSoundEffect* EffectSound::loadedEffect() {
    auto* effect = new QSoundEffect(this);
    effect->setSource(source_);
    return effect;
}

void EffectSound::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
}

void EffectSound::play() {
    if (!audible_) {
        return;
    }
    QSoundEffect* effect = next_;
    next_ = loadedEffect();
    effect->setVolume(linearGain(volume_));
    effect->play();
    playedAt_ = clocks_.microseconds();
    QTimer::singleShot(static_cast<int>(seconds_ * 1000) + kRetireMs, effect,
                       &QObject::deleteLater);
}

bool EffectSound::loaded() const {
    return next_ == nullptr || next_->status() != QSoundEffect::Loading;
}

bool EffectSound::isPlaying() const {
    return audible_ && playedAt_ >= 0 &&
           (clocks_.microseconds() - playedAt_) / 1e6 < seconds_ + kTailSeconds;
}

EffectSoundBank::EffectSoundBank(Clocks& clocks)
    : EffectSoundBank(clocks, !QMediaDevices::audioOutputs().isEmpty()) {}

EffectSoundBank::EffectSoundBank(Clocks& clocks, bool audible)
    : clocks_(clocks), audible_(audible) {}

Sound& EffectSoundBank::sound(const QString& name) {
    auto& slot = sounds_[name];
    if (!slot) {
        slot = std::make_unique<EffectSound>(name, audible_, clocks_);
    }
    return *slot;
}

}  // namespace limenta
