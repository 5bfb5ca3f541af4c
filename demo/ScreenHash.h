#pragma once

#include <cstdint>
#include <span>

class TForm1;

// FNV-1a 64-bit hashes of screens: rows of packed pixels, little-endian, top row first.
class ScreenHash {
public:
    static constexpr uint64_t kEmpty = 0xcbf29ce484222325ull; // the hash of no bytes

    static uint64_t Of(std::span<const uint8_t> bytes, uint64_t hash = kEmpty);
    // The form's screen (the display's primary surface, as last presented); kEmpty without one.
    static uint64_t OfForm(const TForm1& form);
};
