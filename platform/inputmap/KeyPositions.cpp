#include "platform/inputmap/KeyPositions.h"

#include <array>
#include <cstdint>

namespace platform {

namespace {
struct KeyPosition {
    uint16_t Usage;
    std::string_view Name;
    uint8_t Position;
};

// Positions of the classic PC keyboard's scan codes; extended keys sit 128 above the key
// they share a code with.
constexpr KeyPosition kKeys[] = {
    {41, "Escape", 1},
    {30, "Digit1", 2},
    {31, "Digit2", 3},
    {32, "Digit3", 4},
    {33, "Digit4", 5},
    {34, "Digit5", 6},
    {35, "Digit6", 7},
    {36, "Digit7", 8},
    {37, "Digit8", 9},
    {38, "Digit9", 10},
    {39, "Digit0", 11},
    {45, "Minus", 12},
    {46, "Equal", 13},
    {42, "Backspace", 14},
    {43, "Tab", 15},
    {20, "KeyQ", 16},
    {26, "KeyW", 17},
    {8, "KeyE", 18},
    {21, "KeyR", 19},
    {23, "KeyT", 20},
    {28, "KeyY", 21},
    {24, "KeyU", 22},
    {12, "KeyI", 23},
    {18, "KeyO", 24},
    {19, "KeyP", 25},
    {47, "BracketLeft", 26},
    {48, "BracketRight", 27},
    {40, "Enter", 28},
    {224, "ControlLeft", 29},
    {4, "KeyA", 30},
    {22, "KeyS", 31},
    {7, "KeyD", 32},
    {9, "KeyF", 33},
    {10, "KeyG", 34},
    {11, "KeyH", 35},
    {13, "KeyJ", 36},
    {14, "KeyK", 37},
    {15, "KeyL", 38},
    {51, "Semicolon", 39},
    {52, "Quote", 40},
    {53, "Backquote", 41},
    {225, "ShiftLeft", 42},
    {49, "Backslash", 43},
    // The key beside Enter on keyboards that have no separate backslash key; web events
    // name it "Backslash" as well.
    {50, "", 43},
    {29, "KeyZ", 44},
    {27, "KeyX", 45},
    {6, "KeyC", 46},
    {25, "KeyV", 47},
    {5, "KeyB", 48},
    {17, "KeyN", 49},
    {16, "KeyM", 50},
    {54, "Comma", 51},
    {55, "Period", 52},
    {56, "Slash", 53},
    {229, "ShiftRight", 54},
    {85, "NumpadMultiply", 55},
    {226, "AltLeft", 56},
    {44, "Space", 57},
    {57, "CapsLock", 58},
    {58, "F1", 59},
    {59, "F2", 60},
    {60, "F3", 61},
    {61, "F4", 62},
    {62, "F5", 63},
    {63, "F6", 64},
    {64, "F7", 65},
    {65, "F8", 66},
    {66, "F9", 67},
    {67, "F10", 68},
    {83, "NumLock", 69},
    {71, "ScrollLock", 70},
    {95, "Numpad7", 71},
    {96, "Numpad8", 72},
    {97, "Numpad9", 73},
    {86, "NumpadSubtract", 74},
    {92, "Numpad4", 75},
    {93, "Numpad5", 76},
    {94, "Numpad6", 77},
    {87, "NumpadAdd", 78},
    {89, "Numpad1", 79},
    {90, "Numpad2", 80},
    {91, "Numpad3", 81},
    {98, "Numpad0", 82},
    {99, "NumpadDecimal", 83},
    {100, "IntlBackslash", 86},
    {68, "F11", 87},
    {69, "F12", 88},
    {88, "NumpadEnter", 156},
    {228, "ControlRight", 157},
    {84, "NumpadDivide", 181},
    {70, "PrintScreen", 183},
    {230, "AltRight", 184},
    {72, "Pause", 197},
    {74, "Home", 199},
    {82, "ArrowUp", 200},
    {75, "PageUp", 201},
    {80, "ArrowLeft", 203},
    {79, "ArrowRight", 205},
    {77, "End", 207},
    {81, "ArrowDown", 208},
    {78, "PageDown", 209},
    {73, "Insert", 210},
    {76, "Delete", 211},
    {227, "MetaLeft", 219},
    {231, "MetaRight", 220},
    {101, "ContextMenu", 221},
    // Older browsers name the system keys after the operating system.
    {0, "OSLeft", 219},
    {0, "OSRight", 220},
};

// Usage numbers run up to 231 (the right system key); SDL numbers no scancode of a key with a
// position beyond that.
constexpr int kUsageCount = 256;

constexpr std::array<uint8_t, kUsageCount> BuildUsageTable() {
    std::array<uint8_t, kUsageCount> table{};
    for (const KeyPosition& k : kKeys) {
        if (k.Usage != 0) {
            table[k.Usage] = k.Position;
        }
    }
    return table;
}

constexpr std::array<uint8_t, kUsageCount> kByUsage = BuildUsageTable();
} // namespace

int KeyPositionForUsage(int usage) {
    if (usage < 0 || usage >= kUsageCount) {
        return 0;
    }
    return kByUsage[static_cast<std::size_t>(usage)];
}

int KeyPositionForCodeName(std::string_view name) {
    if (name.empty()) {
        return 0;
    }
    for (const KeyPosition& k : kKeys) {
        if (k.Name == name) {
            return k.Position;
        }
    }
    return 0;
}

} // namespace platform
