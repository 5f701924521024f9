// The spoken announcement of the next output: three stages, one a digit (hundreds, tens,
// units), each switched on by the one before and off by itself once it has spoken.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/console/console_effects.h"

namespace limenta {

class Announcer {
  public:
    // The first stage starts; a stage of an earlier announcement still on goes on with it.
    void start() { on_[0] = true; }
    void stop() { on_.fill(false); }
    [[nodiscard]] bool on(int stage) const { return on_.at(static_cast<std::size_t>(stage - 1)); }

    // A tick of stage 1, 2 or 3: nothing while `held` (the answer's wait runs, or a digit is
    // still sounding); else its digit of `number` (read now, so a newer answer changes the
    // digits still to come) at `volume`, and the next stage starts. Only a hundreds digit of
    // 1 is spoken; tens and units always are, also a 0; at volume 0 nothing plays.
    std::optional<PlaySound> tick(int stage, std::int32_t number, int volume, bool held);

  private:
    std::array<bool, 3> on_{};
};

}  // namespace limenta
