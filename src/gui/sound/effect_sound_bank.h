// The program's sounds, played through Qt Multimedia.
#pragma once

#include <QObject>
#include <QUrl>
#include <map>
#include <memory>

#include "gui/platform/platform.h"

class QSoundEffect;

namespace limenta {

// One sound. Each play uses a fresh, already loaded effect (a replayed QSoundEffect gets
// stuck after a few plays), and "playing" means what the operator hears: from the play
// until the sound's own length has passed. Qt's isPlaying() cannot tell that: without an
// audio device it never turns false, and under PulseAudio it lags by over a second.
class EffectSound final : public QObject, public Sound {
  public:
    // `clocks` tells how long ago a sound was started.
    EffectSound(const QString& name, bool audible, Clocks& clocks);
    ~EffectSound() override;
    Q_DISABLE_COPY_MOVE(EffectSound)

    void setVolume(int volume) override;
    void play() override;
    [[nodiscard]] bool isPlaying() const override;
    [[nodiscard]] double seconds() const { return seconds_; }
    // True once the effect the next play will use has finished loading (or failed to).
    [[nodiscard]] bool loaded() const;

  private:
    QSoundEffect* loadedEffect();

    QUrl source_;
    double seconds_ = 0.0;
    bool audible_;
    int volume_ = 100;
    QSoundEffect* next_ = nullptr;
    Clocks& clocks_;
    double playedAt_ = -1.0;  // microseconds; negative: never played
};

class EffectSoundBank final : public SoundBank {
  public:
    // Audible when the system offers an audio output.
    explicit EffectSoundBank(Clocks& clocks);
    EffectSoundBank(Clocks& clocks, bool audible);
    Sound& sound(const QString& name) override;
    [[nodiscard]] bool available() const override { return audible_; }

  private:
    Clocks& clocks_;
    bool audible_;
    std::map<QString, std::unique_ptr<EffectSound>> sounds_;
};

// Equal steps of a 0 to 100 volume slider as equal steps of loudness: the slider runs over
// a scale of decibels (0 is silence), converted to the player's linear gain.
float linearGain(int sliderVolume);

}  // namespace limenta
