#pragma once

#include "demo/Demo.h"

#include <stdexcept>
#include <string>
#include <string_view>

// A demo that cannot be read: the message names the line at fault (0 for the file as a whole).
class DemoError : public std::runtime_error {
public:
    // what() reads "FILE:LINE: message", leaving out the parts that are not known; the file name
    // is shown with its control characters escaped.
    DemoError(int line, const std::string& message, const std::string& file = {});
    int Line;
    std::string Message;
};

// Reads the demo text format. Any damage (unknown lines, bad numbers, missing, repeated or
// misplaced header lines) raises DemoError with the line number; nothing else escapes. Words of
// the file quoted in a message have their control characters escaped. Memory stays within a
// small multiple of the text's size: frames are packed (DemoFrames) and a file is read in blocks.
class DemoReader {
public:
    // The largest demo file read, so that a wrong file cannot exhaust memory.
    static constexpr std::size_t kMaxFileBytes = 512u << 20;
    // The most frames a demo may hold: about 400 days at 60 frames a second.
    static constexpr uint64_t kMaxFrames = 1ull << 31;
    // The most `arg` lines: far more than a command line holds, and each costs more in memory
    // than in the file.
    static constexpr std::size_t kMaxArguments = 4096;

    // `allowTruncated` accepts a recording cut short: one without its end line, or whose last
    // line was cut off (that line is left out), as a crash or a full disk leaves it.
    static Demo Parse(std::string_view text, bool allowTruncated = false);
    // Parse on a regular file's contents, read in blocks; messages start with the file name. A
    // read error is an error ("cannot read: Input/output error"), not the end of the file.
    static Demo ReadFile(const std::string& path, bool allowTruncated = false);
};
