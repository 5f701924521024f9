#include "core/console/announcer.h"

#include <string>

#include "core/numbers/numbers.h"

namespace limenta {

std::optional<PlaySound> Announcer::tick(int stage, std::int32_t number, int volume, bool held) {
    if (!on(stage) || held) {
        return std::nullopt;
    }
    const std::string digits = formatMask(number, "000");
    const std::size_t position = digits.size() - 3 + static_cast<std::size_t>(stage - 1);
    const int digit = digits[position] - '0';
    on_[static_cast<std::size_t>(stage - 1)] = false;
    if (stage < 3) {
        on_[static_cast<std::size_t>(stage)] = true;
    }
    if ((stage == 1 && digit != 1) || digit < 0 || digit > 9) {
        return std::nullopt;
    }
    return PlaySound{"s" + std::to_string(digit), volume, volume > 0};
}

}  // namespace limenta
