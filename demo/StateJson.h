#pragma once

#include <cstdint>
#include <string>

class TForm1;

// The game's state as one line of JSON.
class StateJson {
public:
    // Everything the rules hold: the simulator's `state` line. Key order is fixed.
    static std::string Full(const TForm1& form, uint64_t frame, uint64_t screenHash);
    // The short line printed at the end of a recording or a headless playback.
    static std::string Final(const TForm1& form, uint64_t frames, uint64_t screenHash);
};
