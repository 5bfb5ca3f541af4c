#pragma once

#include <cstdint>
#include <string>

// The limits a verifying child runs under.
struct VerifyLimits {
    int CpuSeconds = 10;                    // processor time, then SIGKILL by the kernel
    int WallSeconds = 20;                   // time on the clock, then SIGKILL by the server
    int64_t MemoryBytes = int64_t{1} << 30; // address space (left out in sanitizer builds)
};

// How a verifying child ended and what it wrote.
struct ChildOutcome {
    bool Started = false;   // false: the child could not be made (Failure says why)
    std::string Failure;    // why it could not be made or read
    std::string Output;     // its standard output, at most kMaxOutput bytes
    bool OutputCut = false; // it wrote more than that
    bool TimedOut = false;  // killed at the wall-clock limit
    int WaitStatus = 0;     // as waitpid reports it
};

// The server's side of a verification: the demo handed to a child process of `program` (the
// server itself, in its --verify-child mode) through an anonymous file in memory, the child's
// output read back. Nothing is written to the disk.
class VerifyProcess {
public:
    static constexpr std::size_t kMaxOutput = 16u << 20;

    static ChildOutcome Run(const std::string& program, const std::string& levelsDir, const std::string& demo,
                            const VerifyLimits& limits);
};
