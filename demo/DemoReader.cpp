#include "demo/DemoReader.h"

#include "demo/DemoText.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/RegularFile.h"

#include <cstring>
#include <optional>

namespace {

// The words of a line, separated by spaces, taken one at a time.
class Words {
public:
    explicit Words(std::string_view line) : line_(line) {}

    bool Next(std::string_view& word) {
        while (at_ < line_.size() && line_[at_] == ' ') {
            ++at_;
        }
        if (at_ >= line_.size()) {
            return false;
        }
        const std::size_t start = at_;
        while (at_ < line_.size() && line_[at_] != ' ') {
            ++at_;
        }
        word = line_.substr(start, at_ - start);
        return true;
    }

private:
    std::string_view line_;
    std::size_t at_ = 0;
};

// The first few words of a line and how many it has in all.
struct LineWords {
    static constexpr std::size_t kKept = 5;
    std::string_view Word[kKept];
    std::size_t Count = 0;

    explicit LineWords(std::string_view line) {
        Words words(line);
        std::string_view word;
        while (words.Next(word)) {
            if (Count < kKept) {
                Word[Count] = word;
            }
            ++Count;
        }
    }
};

// A word of the file as a message quotes it: its start only, control characters escaped.
std::string Quote(std::string_view word) {
    std::string quoted(1, '"');
    quoted.append(platform::EscapeControls(word.substr(0, 40))).push_back('"');
    return quoted;
}

// Reads the lines one at a time, keeping what the header has set.
class Parser {
public:
    explicit Parser(bool allowTruncated) : allowTruncated_(allowTruncated) {}

    // One line without its newline; `complete` false for a last line that had none.
    void Feed(std::string_view line, bool complete) {
        if (ended_) {
            Fail(Tr("text after the end line"));
        }
        ++line_;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line_ == 1) {
            // Whatever follows, a file that does not start with the version line is no demo.
            VersionLine(line);
        }
        if (!complete) {
            // The recording ended while this line was written: the frames before it are whole.
            if (!allowTruncated_) {
                Fail(Tr("last line cut off: the recording was cut short (--force plays the frames before it)"));
            }
            cutOff_ = true;
            return;
        }
        if (line_ > 1) {
            Line(line);
        }
    }

    Demo Finish() {
        if (line_ == 0) {
            throw DemoError(1, Tr("empty file, not a demo"));
        }
        if (!ended_ && !cutOff_ && !allowTruncated_) {
            throw DemoError(line_ + 1, Tr("demo ends without its end line (the recording was cut short)"));
        }
        if (utcLine_ == 0 || clockLine_ == 0) {
            throw DemoError(line_, Tr("demo lacks its utc or clock line"));
        }
        return std::move(demo_);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw DemoError(line_, message); }

    // `bad` is the message for a word that is no number in the range, "{}" the word quoted.
    long long Number(std::string_view word, long long low, long long high, const char* bad) const {
        const auto value = demotext::ParseInteger(word, low, high);
        if (!value) {
            Fail(Fill(Tr(bad), {Quote(word)}));
        }
        return *value;
    }

    void Expect(const LineWords& words, std::size_t count) const {
        if (words.Count != count) {
            Fail(Fill(Tr("{} takes {} values, not {}"),
                      {std::string(words.Word[0]), std::to_string(count - 1), std::to_string(words.Count - 1)}));
        }
    }

    // A header line may come once; its line number is kept.
    void Once(int& seenOn, std::string_view kind) {
        if (seenOn != 0) {
            Fail(Fill(Tr("second {} line (the first is line {})"), {std::string(kind), std::to_string(seenOn)}));
        }
        seenOn = line_;
    }

    void VersionLine(std::string_view line) {
        const LineWords words(line);
        if (words.Count != 2 || words.Word[0] != kDemoMagic) {
            Fail(Fill(Tr("not a demo (first line must be \"{} {}\")"),
                      {std::string(kDemoMagic), std::to_string(kDemoVersion)}));
        }
        const long long version = Number(words.Word[1], 0, 1000000, N_("bad version {}"));
        if (version < kOldestDemoVersion || version > kDemoVersion) {
            Fail(Fill(Tr("demo version {} is not supported (this program reads {} to {})"),
                      {Quote(words.Word[1]), std::to_string(kOldestDemoVersion), std::to_string(kDemoVersion)}));
        }
        demo_.Version = static_cast<int>(version);
    }

    void Line(std::string_view line) {
        std::string_view kind;
        if (!Words(line).Next(kind) || kind.front() == '#') {
            return;
        }
        if (kind == "f" || kind == "r") {
            FrameLine(line, kind);
            return;
        }
        const LineWords words(line);
        if (kind == "level") {
            LevelLine(words);
        } else if (kind == "end") {
            Expect(words, 2);
            const auto count = static_cast<uint64_t>(
                Number(words.Word[1], 0, static_cast<long long>(DemoReader::kMaxFrames), N_("bad frame count {}")));
            if (count != demo_.FrameCount()) {
                Fail(Fill(Tr("end line counts {} frames, the demo holds {}"),
                          {std::to_string(count), std::to_string(demo_.FrameCount())}));
            }
            ended_ = true;
        } else if (!demo_.Frames.empty()) {
            Fail(Fill(Tr("unknown or misplaced line {}"), {Quote(kind)}));
        } else if (kind == "utc") {
            Expect(words, 2);
            Once(utcLine_, kind);
            const auto time = demotext::ParseTime(words.Word[1]);
            if (!time) {
                Fail(Fill(Tr("bad time of day {} (HH:MM:SS.mmm)"), {Quote(words.Word[1])}));
            }
            demo_.Utc = *time;
        } else if (kind == "daily") {
            Expect(words, 3);
            Once(dailyLine_, kind);
            const auto date = DailyChallenge::ParseDate(words.Word[1]);
            const auto startedAt = demotext::ParseTime(words.Word[2]);
            if (!date || !startedAt) {
                Fail(Tr("bad daily line (daily YYYY-MM-DD HH:MM:SS.mmm)"));
            }
            demo_.Daily = DemoDaily{*date, *startedAt};
        } else if (kind == "interface") {
            Expect(words, 2);
            Once(interfaceLine_, kind);
            Number(words.Word[1], kInterfaceVersion, kInterfaceVersion, N_("bad interface version {}"));
            demo_.Interface = true;
        } else if (kind == "clock") {
            Expect(words, 2);
            Once(clockLine_, kind);
            demo_.Clock = static_cast<uint32_t>(Number(words.Word[1], 0, UINT32_MAX, N_("bad clock {}")));
        } else if (kind == "foreground") {
            Expect(words, 2);
            Once(foregroundLine_, kind);
            demo_.Foreground = Number(words.Word[1], 0, 1, N_("bad foreground flag {}")) == 1;
        } else if (kind == "arg") {
            ArgumentLine(words);
        } else {
            Fail(Fill(Tr("unknown line {}"), {Quote(kind)}));
        }
    }

    void ArgumentLine(const LineWords& words) {
        if (demo_.Arguments.size() >= DemoReader::kMaxArguments) {
            Fail(Fill(Tr("more than {} arguments"), {std::to_string(DemoReader::kMaxArguments)}));
        }
        // An empty argument has no word after "arg".
        if (words.Count == 1) {
            demo_.Arguments.emplace_back();
            return;
        }
        Expect(words, 2);
        auto text = demotext::Unescape(words.Word[1]);
        if (!text) {
            Fail(Tr("bad escape in argument"));
        }
        demo_.Arguments.push_back(std::move(*text));
    }

    void LevelLine(const LineWords& words) {
        Expect(words, 4);
        LevelDigest level;
        auto name = demotext::Unescape(words.Word[1]);
        if (!name || name->empty()) {
            Fail(Tr("bad level file name"));
        }
        level.FileName = std::move(*name);
        level.Bytes = static_cast<std::size_t>(Number(words.Word[2], 0, 1 << 20, N_("bad byte count {}")));
        const auto hash = demotext::ParseHash(words.Word[3]);
        if (!hash) {
            Fail(Fill(Tr("bad digest {} (16 hex digits)"), {Quote(words.Word[3])}));
        }
        level.Hash = *hash;
        demo_.Levels.push_back(std::move(level));
    }

    void FrameLine(std::string_view line, std::string_view kind) {
        if (utcLine_ == 0 || clockLine_ == 0) {
            Fail(Tr("frames before the utc and clock lines"));
        }
        Words words(line);
        std::string_view word;
        words.Next(word);
        frame_.Repeat = 1;
        frame_.Inputs.clear();
        if (!words.Next(word)) {
            Fail(kind == "r" ? Fill(Tr("{} takes {} values, not {}"), {"r", "2", "0"})
                             : std::string(Tr("frame line without its clock step")));
        }
        if (kind == "r") {
            frame_.Repeat = static_cast<uint32_t>(Number(word, 1, UINT32_MAX, N_("bad repeat count {}")));
            if (!words.Next(word)) {
                Fail(Fill(Tr("{} takes {} values, not {}"), {"r", "2", "1"}));
            }
            frame_.Delta = static_cast<uint32_t>(Number(word, 0, UINT32_MAX, N_("bad clock step {}")));
            if (words.Next(word)) {
                Fail(Fill(Tr("{} takes {} values, not more"), {"r", "2"}));
            }
        } else {
            frame_.Delta = static_cast<uint32_t>(Number(word, 0, UINT32_MAX, N_("bad clock step {}")));
            while (words.Next(word)) {
                const auto input = demotext::ParseInput(word);
                if (!input) {
                    Fail(Fill(Tr("bad input {}"), {Quote(word)}));
                }
                frame_.Inputs.push_back(*input);
            }
        }
        if (demo_.FrameCount() + frame_.Repeat > DemoReader::kMaxFrames) {
            Fail(Fill(Tr("too many frames (more than {})"), {std::to_string(DemoReader::kMaxFrames)}));
        }
        demo_.Frames.push_back(frame_);
    }

    bool allowTruncated_;
    Demo demo_;
    // The frame line being read, kept so that its inputs reuse one buffer.
    DemoFrame frame_;
    int line_ = 0;
    int utcLine_ = 0;
    int dailyLine_ = 0;
    int interfaceLine_ = 0;
    int clockLine_ = 0;
    int foregroundLine_ = 0;
    bool ended_ = false;
    bool cutOff_ = false;
};

// Feeds the whole lines of `text` to the parser; returns what is left after the last newline.
std::string_view FeedLines(Parser& parser, std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const void* newline = std::memchr(text.data() + start, '\n', text.size() - start);
        if (!newline) {
            break;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(newline) - text.data());
        parser.Feed(text.substr(start, end - start), true);
        start = end + 1;
    }
    return text.substr(start);
}

std::string Where(int line, const std::string& file) {
    if (file.empty()) {
        return line > 0 ? Fill(Tr("line {}: "), {std::to_string(line)}) : "";
    }
    const std::string name = platform::EscapeControls(file);
    return line > 0 ? name + ":" + std::to_string(line) + ": " : name + ": ";
}

} // namespace

DemoError::DemoError(int line, const std::string& message, const std::string& file)
    : std::runtime_error(Where(line, file) + message), Line(line), Message(message) {}

Demo DemoReader::Parse(std::string_view text, bool allowTruncated) {
    Parser parser(allowTruncated);
    const std::string_view rest = FeedLines(parser, text);
    if (!rest.empty()) {
        parser.Feed(rest, false);
    }
    return parser.Finish();
}

Demo DemoReader::ReadFile(const std::string& path, bool allowTruncated) {
    // Only a regular file is read: a FIFO or a device under the name must not hang the program.
    std::string why;
    std::optional<platform::RegularFile> file = platform::RegularFile::Open(path, why);
    if (!file) {
        throw DemoError(0, Fill(Tr("cannot open: {}"), {why}), path);
    }
    if (file->Size() > kMaxFileBytes) {
        throw DemoError(0, Fill(Tr("too large for a demo (more than {} MiB)"), {std::to_string(kMaxFileBytes >> 20)}),
                        path);
    }
    try {
        // Blocks of the file, each after the start of a line that the block before left
        // unfinished; only the new bytes are searched for the line's end.
        constexpr std::size_t kBlock = std::size_t{1} << 20;
        Parser parser(allowTruncated);
        std::string buffer;
        std::size_t kept = 0;
        uint64_t total = 0;
        for (;;) {
            buffer.resize(kept + kBlock);
            const std::size_t got = file->Read(buffer.data() + kept, kBlock);
            if (file->ReadError() != 0) {
                throw DemoError(0, Fill(Tr("cannot read: {}"), {std::strerror(file->ReadError())}));
            }
            total += got;
            // A file that grows while it is read stops at the size it had.
            if (got == 0 || total > kMaxFileBytes) {
                break;
            }
            const std::string_view block(buffer.data(), kept + got);
            std::size_t restStart = 0;
            if (std::memchr(buffer.data() + kept, '\n', got) != nullptr) {
                const std::string_view rest = FeedLines(parser, block);
                restStart = block.size() - rest.size();
            }
            kept = block.size() - restStart;
            std::memmove(buffer.data(), buffer.data() + restStart, kept);
        }
        if (kept > 0) {
            parser.Feed(std::string_view(buffer.data(), kept), false);
        }
        return parser.Finish();
    } catch (const DemoError& e) {
        throw DemoError(e.Line, e.Message, path);
    }
}
