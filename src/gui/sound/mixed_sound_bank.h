// The program's sounds, mixed into one audio stream on the audio thread.
#pragma once

#include <map>
#include <memory>

#include "core/sound/mixer.h"
#include "gui/platform/platform.h"

namespace limenta {

class AudioThreadOutput;

// One sound. "Playing" means what the operator hears: from the play until the sound's own
// length has passed, by the clock, so an announcement never waits on the audio server.
class MixedSound final : public Sound {
  public:
    // `output` is null when there is no audio device: then nothing ever plays.
    MixedSound(const QString& name, AudioThreadOutput* output, Clocks& clocks);

    void setVolume(int volume) override;
    void play() override;
    [[nodiscard]] bool isPlaying() const override;
    [[nodiscard]] double seconds() const { return seconds_; }

  private:
    std::shared_ptr<const Samples> samples_;
    double seconds_ = 0.0;
    AudioThreadOutput* output_;
    Clocks& clocks_;
    int volume_ = 100;
    double playedAt_ = -1.0;  // microseconds; negative: never played
};

class MixedSoundBank final : public SoundBank {
  public:
    // Audible when the system offers an audio output.
    explicit MixedSoundBank(Clocks& clocks);
    MixedSoundBank(Clocks& clocks, bool audible);
    ~MixedSoundBank() override;
    MixedSoundBank(const MixedSoundBank&) = delete;
    MixedSoundBank& operator=(const MixedSoundBank&) = delete;

    Sound& sound(const QString& name) override;
    [[nodiscard]] bool available() const override { return output_ != nullptr; }
    // True while the audio server is taking the stream.
    [[nodiscard]] bool streaming() const;

  private:
    Clocks& clocks_;
    std::unique_ptr<AudioThreadOutput> output_;
    std::map<QString, std::unique_ptr<MixedSound>> sounds_;
};

// Equal steps of a 0 to 100 volume slider as equal steps of loudness: the slider runs over
// a scale of decibels (0 is silence), converted to the player's linear gain.
float linearGain(int sliderVolume);

}  // namespace limenta
