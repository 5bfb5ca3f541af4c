#include "settings/KeyNames.h"

#include "platform/inputmap/KeyPositions.h"

#include <string>

namespace {

struct Alias {
    std::string_view Name;
    std::string_view Standard;
};

constexpr Alias kAliases[] = {
    {"left", "ArrowLeft"}, {"right", "ArrowRight"}, {"up", "ArrowUp"},          {"down", "ArrowDown"},
    {"escape", "Escape"},  {"esc", "Escape"},       {"space", "Space"},         {"enter", "Enter"},
    {"return", "Enter"},   {"tab", "Tab"},          {"backspace", "Backspace"}, {"pause", "Pause"},
};

// A standard key name made of a prefix and the rest of a name ("Key" and "A").
int Named(std::string_view prefix, std::string_view rest) {
    std::string name(prefix);
    name.append(rest);
    return platform::KeyPositionForCodeName(name);
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace

int KeyPositionOfName(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower.size() == 1 && lower[0] >= 'a' && lower[0] <= 'z') {
        const char upper = static_cast<char>(lower[0] - 'a' + 'A');
        return Named("Key", std::string_view(&upper, 1));
    }
    if (lower.size() == 1 && lower[0] >= '0' && lower[0] <= '9') {
        return Named("Digit", lower);
    }
    for (const Alias& alias : kAliases) {
        if (lower == alias.Name) {
            return platform::KeyPositionForCodeName(alias.Standard);
        }
    }
    if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' &&
        lower.find_first_not_of("0123456789", 1) == std::string::npos) {
        return Named("F", std::string_view(lower).substr(1));
    }
    if (lower.size() == 3 && lower.starts_with("kp") && lower[2] >= '0' && lower[2] <= '9') {
        return Named("Numpad", std::string_view(lower).substr(2));
    }
    return platform::KeyPositionForCodeName(name);
}
