// What reading a demo costs against its size: the peak memory of a process that reads a large
// demo (a frame line per frame, and a worst case of alternating lines that join into no run), per
// byte of the file, and the time against a plain read of the same file; and whether checking the
// level lines stays linear (40,000 distinct level lines against 4,000).
//
//   demo_reader_bench [MIB]          (default 200: the 200 MB demo of the issue; needs ~1 GB free)
//   demo_reader_bench MIB --check    exits 1 when a demo takes 4 bytes of memory per byte of file
//                                    or more, or the level check grows like the square of the
//                                    lines (40,000 lines taking 50 times as long as 4,000; linear
//                                    is 10, and the system's look-ups of 40,000 names add some)
//
// Each demo is written in a temporary folder and read in a child process of its own, whose peak
// resident memory (getrusage) is what is reported; the demos end with a wrong end count, so that
// the reader reads all of it before refusing it, as playback would.
#include "demo/DemoReader.h"
#include "demo/LevelDigests.h"
#include "platform/files/RegularFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
const char* const kHeader = "vorkalith-demo 1\nutc 09:15:00.000\nclock 4000\nforeground 1\n";

// Writes a demo of about `bytes` bytes made of `line(i)`, ending with a wrong end count.
uint64_t WriteDemo(const std::string& path, uint64_t bytes, const std::function<std::string(uint64_t)>& line) {
    std::ofstream out(path, std::ios::binary);
    std::string block = kHeader;
    uint64_t written = 0;
    for (uint64_t i = 0; written + block.size() < bytes; ++i) {
        block += line(i);
        if (block.size() >= (1u << 20)) {
            out << block;
            written += block.size();
            block.clear();
        }
    }
    out << block << "end 0\n";
    return written + block.size() + 6;
}

struct Measure {
    double PeakMiB = 0; // peak resident memory of the reading process
    double BaseMiB = 0; // the same process before reading
    double Seconds = 0;
};

// Runs `work` in a child process; its peak memory and time.
Measure InChild(const std::function<void()>& work) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        Measure m;
        m.BaseMiB = usage.ru_maxrss / 1024.0;
        const auto start = Clock::now();
        work();
        m.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
        ::getrusage(RUSAGE_SELF, &usage);
        m.PeakMiB = usage.ru_maxrss / 1024.0;
        ::write(pipe[1], &m, sizeof m);
        ::_exit(0);
    }
    ::close(pipe[1]);
    Measure m;
    const bool got = ::read(pipe[0], &m, sizeof m) == sizeof m;
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got) {
        std::fprintf(stderr, "demo_reader_bench: the reading process failed (status %d)\n", status);
        std::exit(2);
    }
    return m;
}

void ReadDemo(const std::string& path) {
    try {
        DemoReader::ReadFile(path);
    } catch (const DemoError&) {
        // Expected: the end count is wrong.
    }
}

// Reads the demo and reports; returns the peak memory per byte of file.
double Report(const char* what, const std::string& path, uint64_t bytes) {
    const Measure read = InChild([&] { ReadDemo(path); });
    const Measure plain = InChild([&] {
        const auto all = platform::RegularFile::ReadAll(path, DemoReader::kMaxFileBytes);
        std::fprintf(stderr, "%s", all && all->empty() ? "empty\n" : "");
    });
    const double fileMiB = static_cast<double>(bytes) / (1 << 20);
    const double perByte = read.PeakMiB / fileMiB;
    std::printf("%-34s %8.1f MiB file: peak %7.1f MiB (%.2f per byte, %.2f above the %.1f MiB start), "
                "%6.2f s = %5.1f x a plain read of it (%.2f s, peak %.1f MiB)\n",
                what, fileMiB, read.PeakMiB, perByte, (read.PeakMiB - read.BaseMiB) / fileMiB, read.BaseMiB,
                read.Seconds, read.Seconds / plain.Seconds, plain.Seconds, plain.PeakMiB);
    return perByte;
}

// Time to read a demo of `count` distinct level lines and check them against the level folder.
double LevelLines(const std::string& path, int count) {
    std::ofstream out(path, std::ios::binary);
    out << kHeader;
    for (int i = 0; i < count; ++i) {
        out << "level l" << i << ".vrk 352 0123456789abcdef\n";
    }
    out << "end 0\n";
    out.close();
    // The best of three runs, as the machine is shared.
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        const Demo demo = DemoReader::ReadFile(path);
        const auto differing = LevelDigests::Differing(demo);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        if (differing.size() != static_cast<std::size_t>(count)) {
            std::fprintf(stderr, "demo_reader_bench: %zu of %d level lines differ\n", differing.size(), count);
            std::exit(2);
        }
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200;
    const bool check = argc > 2 && std::string(argv[2]) == "--check";
    if (mib == 0 || mib > 500) {
        std::fprintf(stderr, "usage: demo_reader_bench [MIB (1..500)] [--check]\n");
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() / ("demo-reader-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "big.vkd").string();
    const uint64_t bytes = mib << 20;

    double worst = 0;
    uint64_t size = WriteDemo(path, bytes, [](uint64_t) { return std::string("f 16\n"); });
    worst = std::max(worst, Report("frame lines \"f 16\"", path, size));
    size = WriteDemo(path, bytes, [](uint64_t i) { return i % 2 ? std::string("f 1\n") : std::string("f 0\n"); });
    worst = std::max(worst, Report("alternating \"f 0\", \"f 1\"", path, size));
    size = WriteDemo(path, bytes, [](uint64_t i) { return "f 16 m" + std::to_string(i % 640) + ",240 k+200 x\n"; });
    worst = std::max(worst, Report("inputs \"f 16 mX,240 k+200 x\"", path, size));

    const std::string levels = (folder / "levels.vkd").string();
    const double few = LevelLines(levels, 4000);
    const double many = LevelLines(levels, 40000);
    std::printf("level lines: 40,000 distinct in %.3f s, %.1f x the time of 4,000 (%.3f s; linear is 10)\n", many,
                many / few, few);
    std::filesystem::remove_all(folder);

    if (check && (worst >= 4.0 || many / few > 50.0)) {
        std::fprintf(stderr, "demo_reader_bench: over the bounds (memory %.2f per byte, level lines %.1f x)\n", worst,
                     many / few);
        return 1;
    }
    return 0;
}
