// Fuzz harness of the simulator's script reader: any bytes are either read or refused with
// ScriptError, never anything worse; the commands read one at a time are those read at once, and
// a script that reads and asks for few frames (and writes no picture) runs on the real game.
#include "demo/SimScript.h"
#include "demo/Simulator.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// A run costs a game start and a few frames: scripts asking for more only read.
constexpr long long kMaxRunFrames = 30;

bool SameCommand(const SimCommand& a, const SimCommand& b) {
    return a.What == b.What && a.Line == b.Line && a.Count == b.Count && a.Input == b.Input && a.Text == b.Text &&
           a.Level == b.Level;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<SimCommand> commands;
    try {
        commands = SimScript::Parse(text);
    } catch (const ScriptError&) {
        try {
            SimScript::Check(text);
        } catch (const ScriptError&) {
            return 0;
        }
        std::abort(); // refused at once, accepted line by line
    }
    std::size_t next = 0;
    long long frames = 0;
    bool writes = false;
    SimScript::ForEach(text, [&](const SimCommand& command) {
        if (next >= commands.size() || !SameCommand(command, commands[next++])) {
            std::abort();
        }
        frames += command.What == SimCommand::Kind::Frames ? command.Count : 0;
        writes = writes || command.What == SimCommand::Kind::Shot;
        return true;
    });
    if (next != commands.size()) {
        std::abort();
    }
    if (frames <= kMaxRunFrames && !writes) {
        const auto ignore = [](const std::string&) {};
        Simulator::Run(text, Simulator::Options{}, ignore, ignore);
    }
    return 0;
}
