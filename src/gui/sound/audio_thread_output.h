// One audio stream, fed from a mixer, run on a thread of its own: whatever the audio server
// does (refuse, stall, drop the connection) can only hold that thread, never the window.
#pragma once

#include <QThread>
#include <atomic>
#include <memory>

#include "core/sound/mixer.h"

namespace limenta {

class AudioThreadOutput {
  public:
    AudioThreadOutput();
    ~AudioThreadOutput();
    AudioThreadOutput(const AudioThreadOutput&) = delete;
    AudioThreadOutput& operator=(const AudioThreadOutput&) = delete;

    // Cues started here sound within the stream's buffer time; the call takes microseconds.
    [[nodiscard]] Mixer& mixer() { return *mixer_; }
    // True while the audio server is taking the stream.
    [[nodiscard]] bool streaming() const { return *streaming_; }

  private:
    // Shared with the audio thread, which may outlive this object if the server hangs it.
    std::shared_ptr<Mixer> mixer_;
    std::shared_ptr<std::atomic<bool>> streaming_;
    std::unique_ptr<QThread> thread_;
};

}  // namespace limenta
