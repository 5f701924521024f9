#include "core/display/history_line.h"

#include "core/display/numbers.h"

namespace limenta {

std::string historyLine(std::int32_t stepnum, double lastsetting, std::int32_t answer,
                        double thediff) {
    const std::string gap = "   ";
    return formatMask(stepnum, "00") + gap + formatMask(lastsetting, "000.00") + gap +
           formatMask(roundHalfAway(lastsetting), "000") + gap + formatMask(answer, "0.0") + gap +
           formatMask(thediff, "00.0000") + "\r";
}

}  // namespace limenta
