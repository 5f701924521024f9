#include "core/console/notices.h"

namespace limenta::notice {

std::string fillIn(std::string text, const std::vector<std::string>& values) {
    for (std::size_t i = values.size(); i-- > 0;) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + values[i].size())) {
            text.replace(at, mark.size(), values[i]);
        }
    }
    return text;
}

}  // namespace limenta::notice
