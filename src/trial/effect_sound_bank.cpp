#include "trial/effect_sound_bank.h"

#include <QAudio>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <algorithm>

#include "trial/wav_info.h"

namespace limenta {

namespace {

// "Playing" lasts a little beyond the sound itself, so a digit never starts on the
// very last sample of the one before.
constexpr double kTailSeconds = 0.015;
// A played effect is kept this long after its sound has ended, then deleted.
constexpr int kRetireMs = 3000;

}  // namespace

float linearGain(int sliderVolume) {
    const double position = std::clamp(sliderVolume, 0, 100) / 100.0;
    return static_cast<float>(
        QAudio::convertVolume(position, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale));
}

EffectSound::EffectSound(const QString& name, bool audible)
    : source_(QStringLiteral("qrc:/assets/%1.wav").arg(name)), audible_(audible) {
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
    sincePlay_.start();
    QTimer::singleShot(static_cast<int>(seconds_ * 1000) + kRetireMs, effect,
                       &QObject::deleteLater);
}

bool EffectSound::isPlaying() const {
    return audible_ && sincePlay_.isValid() &&
           static_cast<double>(sincePlay_.nsecsElapsed()) / 1e9 < seconds_ + kTailSeconds;
}

EffectSoundBank::EffectSoundBank() : audible_(!QMediaDevices::audioOutputs().isEmpty()) {}

Sound& EffectSoundBank::sound(const QString& name) {
    auto& slot = sounds_[name];
    if (!slot) {
        slot = std::make_unique<EffectSound>(name, audible_);
    }
    return *slot;
}

}  // namespace limenta
