#pragma once

#include "demo/Demo.h"

#include <stdexcept>
#include <string>
#include <string_view>

// A demo that cannot be read: the message names the line at fault (0 for the file as a whole).
class DemoError : public std::runtime_error {
public:
    // what() reads "FILE:LINE: message", leaving out the parts that are not known.
    DemoError(int line, const std::string& message, const std::string& file = {});
    int Line;
    std::string Message;
};

// Reads the demo text format. Any damage (unknown lines, bad numbers, missing or misplaced
// header lines, a cut-off end) raises DemoError with the line number; nothing else escapes.
class DemoReader {
public:
    // The largest demo file read, so that a wrong file cannot exhaust memory.
    static constexpr std::size_t kMaxFileBytes = 512u << 20;
    // The most frames a demo may hold: about 400 days at 60 frames a second.
    static constexpr uint64_t kMaxFrames = 1ull << 31;

    // `allowTruncated` accepts a demo without its end line, as a recording cut short leaves it.
    static Demo Parse(std::string_view text, bool allowTruncated = false);
    // Parse on a file's contents; messages start with the file name.
    static Demo ReadFile(const std::string& path, bool allowTruncated = false);
};
