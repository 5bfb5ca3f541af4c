#include "demo/SimScript.h"

#include "demo/DemoText.h"
#include "input/Keyboard.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <unordered_set>

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t') {
            ++j;
        }
        if (j > i) {
            words.push_back(line.substr(i, j - i));
        }
        i = j;
    }
    return words;
}

// A word of the script as a message quotes it: its start only, control characters escaped.
std::string Quote(std::string_view word) {
    std::string quoted(1, '"');
    quoted.append(platform::EscapeControls(word.substr(0, 40))).push_back('"');
    return quoted;
}

struct NamedKey {
    const char* Name;
    int VirtualKey;
};
constexpr NamedKey kNamedKeys[] = {{"left", 37}, {"up", 38}, {"right", 39}, {"down", 40}, {"esc", 27}, {"pause", 19}};

} // namespace

ScriptError::ScriptError(int line, const std::string& message)
    : std::runtime_error(Fill(Tr("line {}: "), {std::to_string(line)}) + message), Line(line), Message(message) {}

namespace {

class LineParser {
public:
    LineParser(int line, std::vector<std::string_view> words) : line_(line), words_(std::move(words)) {}

    SimCommand Parse(bool beforeFrames) {
        SimCommand command;
        command.Line = line_;
        const std::string_view name = words_[0];
        using Kind = SimCommand::Kind;
        using Input = DemoInput::Kind;
        if (name == "frames") {
            Args(1);
            command.Count = Number(words_[1], 0, UINT32_MAX, N_("bad frame count {}"));
        } else if (name == "key" || name == "scankey") {
            Args(2);
            int code = -1;
            if (name == "scankey") {
                code = static_cast<int>(Number(words_[1], 0, 255, N_("bad key code {}")));
            } else {
                int virtualKey = -1;
                for (const NamedKey& key : kNamedKeys) {
                    virtualKey = words_[1] == key.Name ? key.VirtualKey : virtualKey;
                }
                if (virtualKey < 0) {
                    virtualKey = static_cast<int>(Number(words_[1], 1, 255, N_("bad virtual-key code {}")));
                }
                code = SimScript::KeyCodeOf(virtualKey);
                if (code == 0) {
                    Fail(Fill(Tr("no key has virtual-key code {}"), {std::to_string(virtualKey)}));
                }
            }
            command.What = Kind::Input;
            command.Input = DemoInput{UpDown(words_[2]) ? Input::KeyDown : Input::KeyUp, code};
        } else if (name == "mouse") {
            Args(2);
            command.What = Kind::Input;
            command.Input = DemoInput{Input::MouseMove, Coordinate(words_[1]), Coordinate(words_[2])};
        } else if (name == "button") {
            if (words_.size() != 2 && words_.size() != 3 && words_.size() != 5) {
                Fail(Tr("button takes down|up [BUTTON [X Y]]"));
            }
            command.What = Kind::Input;
            command.Input.What = UpDown(words_[1]) ? Input::MouseDown : Input::MouseUp;
            command.Input.C = words_.size() > 2
                                  ? static_cast<int>(Number(words_[2], 1, demotext::kMaxButton, N_("bad button {}")))
                                  : 1;
            // Without X Y the button acts where the pointer is; the simulator fills them in.
            command.Count = words_.size() == 5 ? 1 : 0;
            if (words_.size() == 5) {
                command.Input.A = Coordinate(words_[3]);
                command.Input.B = Coordinate(words_[4]);
            }
        } else if (name == "focus") {
            Args(1);
            command.What = Kind::Input;
            command.Input.What = InOut(words_[1]) ? Input::FocusGained : Input::FocusLost;
            command.Count = 1; // the window moves too

        } else if (name == "foreground") {
            Args(1);
            const int value = static_cast<int>(Number(words_[1], 0, 1, N_("bad foreground flag {}")));
            command.What = beforeFrames ? Kind::StartForeground : Kind::Input;
            command.Count = value;
            command.Input = DemoInput{Input::Foreground, value};
        } else if (name == "event") {
            Args(1);
            command.What = Kind::Input;
            const std::string_view which = words_[1];
            if (which == "focus-in" || which == "focus-out" || which == "expose" || which == "quit") {
                command.Input.What = which == "focus-in"    ? Input::FocusGained
                                     : which == "focus-out" ? Input::FocusLost
                                     : which == "expose"    ? Input::Expose
                                                            : Input::Quit;
            } else {
                Fail(Tr("event takes focus-in, focus-out, expose or quit"));
            }
        } else if (name == "tick") {
            Args(1);
            command.What = Kind::Tick;
            command.Count = words_[1] == "60hz" ? -1 : Number(words_[1], 0, UINT32_MAX, N_("bad clock step {}"));
        } else if (name == "state") {
            Args(0);
            command.What = Kind::State;
        } else if (name == "shot") {
            Args(1);
            command.What = Kind::Shot;
            command.Text = std::string(words_[1]);
        } else if (name == "utc" || name == "clock" || name == "arg" || name == "level" || name == "daily" ||
                   name == "interface") {
            if (!beforeFrames) {
                Fail(Fill(Tr("{} belongs before the first frame"), {Quote(name)}));
            }
            StartLine(command);
        } else {
            Fail(Fill(Tr("unknown command {}"), {Quote(name)}));
        }
        return command;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw ScriptError(line_, message); }

    void Args(std::size_t count) const {
        if (words_.size() != count + 1) {
            Fail(count == 1 ? Fill(Tr("{} takes 1 value"), {std::string(words_[0])})
                            : Fill(Tr("{} takes {} values"), {std::string(words_[0]), std::to_string(count)}));
        }
    }

    // `bad` is the message for a word that is no number in the range, "{}" the word quoted.
    long long Number(std::string_view word, long long low, long long high, const char* bad) const {
        const auto value = demotext::ParseInteger(word, low, high);
        if (!value) {
            Fail(Fill(Tr(bad), {Quote(word)}));
        }
        return *value;
    }

    int Coordinate(std::string_view word) const {
        return static_cast<int>(
            Number(word, -demotext::kMaxCoordinate, demotext::kMaxCoordinate, N_("bad coordinate {}")));
    }

    bool UpDown(std::string_view word) const {
        if (word != "down" && word != "up") {
            Fail(Fill(Tr("expected down or up, not {}"), {Quote(word)}));
        }
        return word == "down";
    }

    bool InOut(std::string_view word) const {
        if (word != "in" && word != "out") {
            Fail(Fill(Tr("expected in or out, not {}"), {Quote(word)}));
        }
        return word == "in";
    }

    void StartLine(SimCommand& command) const {
        using Kind = SimCommand::Kind;
        const std::string_view name = words_[0];
        if (name == "utc") {
            Args(1);
            const auto time = demotext::ParseTime(words_[1]);
            if (!time) {
                Fail(Tr("bad time of day (HH:MM:SS.mmm)"));
            }
            command.What = Kind::Utc;
            command.Utc = *time;
        } else if (name == "clock") {
            Args(1);
            command.What = Kind::Clock;
            command.Count = Number(words_[1], 0, UINT32_MAX, N_("bad clock {}"));
        } else if (name == "daily") {
            Args(1);
            const auto date = DailyChallenge::ParseDate(words_[1]);
            if (!date) {
                Fail(Tr("bad date (YYYY-MM-DD)"));
            }
            command.What = Kind::Daily;
            command.Date = *date;
        } else if (name == "interface") {
            Args(0);
            command.What = Kind::Interface;
        } else if (name == "arg") {
            // An empty argument has no word after "arg".
            command.What = Kind::Arg;
            if (words_.size() == 1) {
                return;
            }
            Args(1);
            const auto text = demotext::Unescape(words_[1]);
            if (!text) {
                Fail(Tr("bad escape in argument"));
            }
            command.What = Kind::Arg;
            command.Text = *text;
        } else {
            Args(3);
            const auto fileName = demotext::Unescape(words_[1]);
            const auto hash = demotext::ParseHash(words_[3]);
            if (!fileName || fileName->empty() || !hash) {
                Fail(Tr("level takes NAME BYTES DIGEST (16 hex digits)"));
            }
            command.What = Kind::Level;
            command.Level = LevelDigest{
                *fileName, static_cast<std::size_t>(Number(words_[2], 0, 1 << 20, N_("bad byte count {}"))), *hash};
        }
    }

    int line_;
    std::vector<std::string_view> words_;
};

// Script lines for one input of a demo frame.
std::string InputLine(const DemoInput& input) {
    using Kind = DemoInput::Kind;
    const std::string updown = input.What == Kind::KeyDown || input.What == Kind::MouseDown ? "down" : "up";
    switch (input.What) {
    case Kind::KeyDown:
    case Kind::KeyUp: {
        const int virtualKey = TKeyboard::VirtualKeyOf(static_cast<uint8_t>(input.A));
        if (virtualKey != 0 && SimScript::KeyCodeOf(virtualKey) == input.A) {
            return "key " + std::to_string(virtualKey) + " " + updown;
        }
        return "scankey " + std::to_string(input.A) + " " + updown;
    }
    case Kind::MouseMove:
        return "mouse " + std::to_string(input.A) + " " + std::to_string(input.B);
    case Kind::MouseDown:
    case Kind::MouseUp:
        return "button " + updown + " " + std::to_string(input.C) + " " + std::to_string(input.A) + " " +
               std::to_string(input.B);
    case Kind::FocusGained:
        return "event focus-in";
    case Kind::FocusLost:
        return "event focus-out";
    case Kind::Expose:
        return "event expose";
    case Kind::Quit:
        return "event quit";
    case Kind::Foreground:
        return std::string("foreground ") + (input.A != 0 ? "1" : "0");
    }
    return {};
}

} // namespace

void SimScript::ForEach(std::string_view text, const std::function<bool(const SimCommand&)>& take) {
    bool beforeFrames = true;
    int line = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++line;
        std::string_view content = text.substr(start, end - start);
        start = end + 1;
        if (const std::size_t hash = content.find('#'); hash != std::string_view::npos) {
            content = content.substr(0, hash);
        }
        if (!content.empty() && content.back() == '\r') {
            content.remove_suffix(1);
        }
        std::vector<std::string_view> words = Words(content);
        if (words.empty()) {
            continue;
        }
        const SimCommand command = LineParser(line, std::move(words)).Parse(beforeFrames);
        beforeFrames = beforeFrames && command.What != SimCommand::Kind::Frames;
        if (!take(command)) {
            return;
        }
    }
}

std::vector<SimCommand> SimScript::Parse(std::string_view text) {
    std::vector<SimCommand> commands;
    ForEach(text, [&commands](const SimCommand& command) {
        commands.push_back(command);
        return true;
    });
    return commands;
}

void SimScript::Check(std::string_view text) {
    ForEach(text, [](const SimCommand&) { return true; });
}

std::string SimScript::FromDemo(const Demo& demo) {
    std::string text = "# replays a demo exactly; made by vorkalith-sim --from-demo\n";
    // A daily session is started again from its date and real start, which give its seed; a
    // demo whose time of day is not its date's seed is replayed from the time it holds.
    const bool daily = demo.Daily && DailyChallenge::MillisecondsOf(DailyChallenge::SeedOf(demo.Daily->Date)) ==
                                         DailyChallenge::MillisecondsOf(demo.Utc);
    text += "utc " + demotext::FormatTime(daily ? demo.Daily->StartedAt : demo.Utc) + "\n";
    if (daily) {
        text += "daily " + DailyChallenge::FormatDate(demo.Daily->Date) + "\n";
    }
    if (demo.Interface) {
        text += "interface\n";
    }
    text += "clock " + std::to_string(demo.Clock) + "\n";
    text += std::string("foreground ") + (demo.Foreground ? "1" : "0") + "\n";
    for (const std::string& argument : demo.Arguments) {
        text += argument.empty() ? std::string("arg\n") : "arg " + demotext::Escape(argument) + "\n";
    }
    // Each level line once; a set keeps that linear in the number of level lines.
    std::unordered_set<std::string> levels;
    for (const LevelDigest& level : demo.Levels) {
        if (!levels.insert(level.FileName + ' ' + std::to_string(level.Bytes) + ' ' + std::to_string(level.Hash))
                 .second) {
            continue;
        }
        text += "level " + demotext::Escape(level.FileName) + " " + std::to_string(level.Bytes) + " " +
                demotext::FormatHash(level.Hash) + "\n";
    }
    // Frames without input whose clock step the script's tick gives already gather into one
    // `frames` line; the simulator's 60 Hz steps count every frame run so far.
    long long tick = -1;
    uint64_t frame = 0;
    uint64_t pending = 0;
    auto flush = [&] {
        if (pending > 0) {
            text += "frames " + std::to_string(pending) + "\n";
            pending = 0;
        }
    };
    auto stepOf = [&](uint64_t k) {
        return tick >= 0 ? static_cast<uint64_t>(tick) : k * 1000 / 60 - (k - 1) * 1000 / 60;
    };
    for (const DemoFrame& demoFrame : demo.Frames) {
        for (uint32_t r = 0; r < demoFrame.Repeat; ++r) {
            ++frame;
            const bool inputs = r == 0 && !demoFrame.Inputs.empty();
            if (inputs || stepOf(frame) != demoFrame.Delta) {
                flush();
            }
            if (stepOf(frame) != demoFrame.Delta) {
                const long long previous = tick;
                tick = -1;
                if (stepOf(frame) != demoFrame.Delta) {
                    tick = demoFrame.Delta;
                }
                if (tick != previous) {
                    text += tick < 0 ? std::string("tick 60hz\n") : "tick " + std::to_string(tick) + "\n";
                }
            }
            if (inputs) {
                for (const DemoInput& input : demoFrame.Inputs) {
                    text += InputLine(input) + "\n";
                }
            }
            ++pending;
        }
    }
    flush();
    return text;
}

int SimScript::KeyCodeOf(int virtualKey) {
    // From the top, so that the arrows are the extended keys rather than keys sharing their codes.
    for (int code = 255; code >= 1; --code) {
        if (TKeyboard::VirtualKeyOf(static_cast<uint8_t>(code)) == virtualKey) {
            return code;
        }
    }
    return 0;
}
