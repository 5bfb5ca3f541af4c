#pragma once

#include <bitset>
#include <cstddef>

// The 36 abstract input states: four directions and 32 buttons.
enum class TInputState : int {
    Up,
    Down,
    Left,
    Right,
    Button1,
    Button2,
    Button3,
    Button4,
    Button5,
    Button6,
    Button7,
    Button8,
    Button9,
    Button10,
    Button11,
    Button12,
    Button13,
    Button14,
    Button15,
    Button16,
    Button17,
    Button18,
    Button19,
    Button20,
    Button21,
    Button22,
    Button23,
    Button24,
    Button25,
    Button26,
    Button27,
    Button28,
    Button29,
    Button30,
    Button31,
    Button32,
};

constexpr int kInputStateCount = 36;

// A set of input states stored in five bytes: bit i for state i; only bits 0..35 are used.
using TInputStates = std::bitset<40>;

constexpr std::size_t StateBit(TInputState state) {
    return static_cast<std::size_t>(state);
}
