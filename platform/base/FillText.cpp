#include "platform/base/FillText.h"

std::string Fill(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string out;
    auto value = values.begin();
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t mark = pattern.find("{}", at);
        if (mark == std::string_view::npos || value == values.end()) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, mark - at));
        out += *value++;
        at = mark + 2;
    }
    return out;
}
