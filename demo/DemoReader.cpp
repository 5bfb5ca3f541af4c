#include "demo/DemoReader.h"

#include "demo/DemoText.h"

#include "platform/RegularFile.h"

#include <optional>
#include <vector>

namespace {

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ') {
            ++j;
        }
        if (j > i) {
            words.push_back(line.substr(i, j - i));
        }
        i = j;
    }
    return words;
}

// Reads the lines one at a time, keeping what the header has set.
class Parser {
public:
    Parser(bool allowTruncated) : allowTruncated_(allowTruncated) {}

    Demo Run(std::string_view text) {
        std::size_t start = 0;
        while (start < text.size() && !ended_) {
            std::size_t end = text.find('\n', start);
            const bool complete = end != std::string_view::npos;
            if (!complete) {
                end = text.size();
            }
            ++line_;
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            // A last line without its newline was cut off while being written.
            if (!complete) {
                Fail("line cut off (the recording ended while writing it)");
            }
            Line(line);
            start = end + 1;
        }
        if (!ended_) {
            if (line_ == 0) {
                throw DemoError(1, "empty file, not a demo");
            }
            if (!allowTruncated_) {
                throw DemoError(line_ + 1, "demo ends without its end line (the recording was cut short)");
            }
        } else if (start < text.size()) {
            Fail("text after the end line");
        }
        if (!haveUtc_ || !haveClock_) {
            throw DemoError(line_, "demo lacks its utc or clock line");
        }
        return std::move(demo_);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw DemoError(line_, message); }

    long long Number(std::string_view word, long long low, long long high, const char* what) const {
        const auto value = demotext::ParseInteger(word, low, high);
        if (!value) {
            Fail(std::string("bad ") + what + " \"" + std::string(word.substr(0, 40)) + "\"");
        }
        return *value;
    }

    void Expect(const std::vector<std::string_view>& words, std::size_t count) const {
        if (words.size() != count) {
            std::string message(words[0]);
            message.append(" takes ").append(std::to_string(count - 1)).append(" values, not ");
            message.append(std::to_string(words.size() - 1));
            Fail(message);
        }
    }

    void Line(std::string_view line) {
        if (line_ == 1) {
            const auto words = Split(line);
            if (words.size() != 2 || words[0] != kDemoMagic) {
                Fail("not a demo (first line must be \"" + std::string(kDemoMagic) + " " +
                     std::to_string(kDemoVersion) + "\")");
            }
            const long long version = Number(words[1], 0, 1000000, "version");
            if (version < kOldestDemoVersion || version > kDemoVersion) {
                Fail("demo version " + std::string(words[1]) + " is not supported (this program reads " +
                     std::to_string(kOldestDemoVersion) + " to " + std::to_string(kDemoVersion) + ")");
            }
            demo_.Version = static_cast<int>(version);
            return;
        }
        const auto words = Split(line);
        if (words.empty() || words[0].front() == '#') {
            return;
        }
        const std::string_view kind = words[0];
        if (kind == "f" || kind == "r") {
            FrameLine(words);
        } else if (kind == "level") {
            LevelLine(words);
        } else if (kind == "end") {
            Expect(words, 2);
            const auto count = static_cast<uint64_t>(
                Number(words[1], 0, static_cast<long long>(DemoReader::kMaxFrames), "frame count"));
            if (count != frames_) {
                Fail("end line counts " + std::to_string(count) + " frames, the demo holds " + std::to_string(frames_));
            }
            ended_ = true;
        } else if (!demo_.Frames.empty()) {
            Fail("unknown or misplaced line \"" + std::string(kind.substr(0, 40)) + "\"");
        } else if (kind == "utc") {
            Expect(words, 2);
            const auto time = demotext::ParseTime(words[1]);
            if (!time) {
                Fail("bad time of day \"" + std::string(words[1].substr(0, 40)) + "\" (HH:MM:SS.mmm)");
            }
            demo_.Utc = *time;
            haveUtc_ = true;
        } else if (kind == "clock") {
            Expect(words, 2);
            demo_.Clock = static_cast<uint32_t>(Number(words[1], 0, UINT32_MAX, "clock"));
            haveClock_ = true;
        } else if (kind == "foreground") {
            Expect(words, 2);
            demo_.Foreground = Number(words[1], 0, 1, "foreground flag") == 1;
        } else if (kind == "arg") {
            // An empty argument has no word after "arg".
            if (words.size() == 1) {
                demo_.Arguments.emplace_back();
                return;
            }
            Expect(words, 2);
            const auto text = demotext::Unescape(words[1]);
            if (!text) {
                Fail("bad escape in argument");
            }
            demo_.Arguments.push_back(*text);
        } else {
            Fail("unknown line \"" + std::string(kind.substr(0, 40)) + "\"");
        }
    }

    void LevelLine(const std::vector<std::string_view>& words) {
        Expect(words, 4);
        LevelDigest level;
        const auto name = demotext::Unescape(words[1]);
        if (!name || name->empty()) {
            Fail("bad level file name");
        }
        level.FileName = *name;
        level.Bytes = static_cast<std::size_t>(Number(words[2], 0, 1 << 20, "byte count"));
        const auto hash = demotext::ParseHash(words[3]);
        if (!hash) {
            Fail("bad digest \"" + std::string(words[3].substr(0, 40)) + "\" (16 hex digits)");
        }
        level.Hash = *hash;
        demo_.Levels.push_back(std::move(level));
    }

    void FrameLine(const std::vector<std::string_view>& words) {
        if (!haveUtc_ || !haveClock_) {
            Fail("frames before the utc and clock lines");
        }
        DemoFrame frame;
        if (words[0] == "r") {
            Expect(words, 3);
            frame.Repeat = static_cast<uint32_t>(Number(words[1], 1, UINT32_MAX, "repeat count"));
            frame.Delta = static_cast<uint32_t>(Number(words[2], 0, UINT32_MAX, "clock step"));
        } else {
            if (words.size() < 2) {
                Fail("frame line without its clock step");
            }
            frame.Delta = static_cast<uint32_t>(Number(words[1], 0, UINT32_MAX, "clock step"));
            for (std::size_t i = 2; i < words.size(); ++i) {
                const auto input = demotext::ParseInput(words[i]);
                if (!input) {
                    Fail("bad input \"" + std::string(words[i].substr(0, 40)) + "\"");
                }
                frame.Inputs.push_back(*input);
            }
        }
        frames_ += frame.Repeat;
        if (frames_ > DemoReader::kMaxFrames) {
            Fail("too many frames");
        }
        demo_.Frames.push_back(std::move(frame));
    }

    bool allowTruncated_;
    Demo demo_;
    int line_ = 0;
    uint64_t frames_ = 0;
    bool haveUtc_ = false;
    bool haveClock_ = false;
    bool ended_ = false;
};

} // namespace

namespace {
std::string Where(int line, const std::string& file) {
    if (file.empty()) {
        return line > 0 ? "line " + std::to_string(line) + ": " : "";
    }
    return line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ";
}
} // namespace

DemoError::DemoError(int line, const std::string& message, const std::string& file)
    : std::runtime_error(Where(line, file) + message), Line(line), Message(message) {}

Demo DemoReader::Parse(std::string_view text, bool allowTruncated) {
    return Parser(allowTruncated).Run(text);
}

Demo DemoReader::ReadFile(const std::string& path, bool allowTruncated) {
    // Only a regular file is read: a FIFO or a device under the name must not hang the program.
    std::optional<platform::RegularFile> file = platform::RegularFile::Open(path);
    if (!file) {
        throw DemoError(0, "cannot open (not a readable regular file)", path);
    }
    if (file->Size() > kMaxFileBytes) {
        throw DemoError(0, "too large for a demo", path);
    }
    std::string text(static_cast<std::size_t>(file->Size()), '\0');
    text.resize(file->Read(text.data(), text.size()));
    try {
        return Parse(text, allowTruncated);
    } catch (const DemoError& e) {
        throw DemoError(e.Line, e.Message, path);
    }
}
