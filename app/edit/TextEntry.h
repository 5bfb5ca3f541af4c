#pragma once

#include "app/edit/KeyEdges.h"

#include <string>

// A line of typed text, read from key positions as a US keyboard lays them out (letters, digits
// and the punctuation of paths): Backspace takes the last character back.
class TextEntry {
public:
    std::string Text;

    // Adds the characters typed in this frame; true when the text changed.
    bool Type(const KeyEdges& keys);

    // The character a key position gives, with or without Shift; 0 for none.
    static char CharacterOf(int code, bool shift);

    static constexpr std::size_t kMaxLength = 1024;
};
