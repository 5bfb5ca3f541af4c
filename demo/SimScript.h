#pragma once

#include "demo/Demo.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A script of the simulator, one command a line ('#' starts a comment):
//   frames N                         run N frames
//   key CODE|left|up|right|down|esc|pause down|up    a key by virtual-key code
//   scankey CODE down|up             a key by the keyboard's key code
//   mouse X Y                        the pointer moves
//   button down|up [BUTTON [X Y]]    a mouse button (1 by default) at the pointer (or X Y)
//   focus in|out                     the window comes to the front or goes behind
//   foreground 0|1                   the window has the keyboard focus or not (no event)
//   event focus-in|focus-out|expose|quit   a bare window event
//   tick MS|60hz                     clock step of each frame (60hz: 1000/60 ms on average)
//   state                            print the state as one JSON line
//   shot FILE                        write the screen as a PNG
// and, before the first frame, the start of the run:
//   utc HH:MM:SS.mmm   clock MS   arg TEXT   level NAME BYTES DIGEST
//   daily YYYY-MM-DD   (a daily session of that date; utc is then its real start)
//   interface          (the player's interface of the desktop game: the title's hint, pause)
// A `foreground` line before the first frame also stops the window's automatic focus at start.
struct SimCommand {
    enum class Kind { Frames, Input, Tick, State, Shot, Utc, Clock, Arg, Level, StartForeground, Daily, Interface };
    Kind What = Kind::Frames;
    int Line = 0;
    long long Count = 0;     // Frames: N; Tick: MS, -1 for 60hz; Clock: MS; StartForeground: 0|1
    DemoInput Input;         // Input
    std::string Text;        // Shot, Arg
    platform::TimeOfDay Utc; // Utc
    LevelDigest Level;       // Level
    UtcDate Date;            // Daily
};

// A bad line of a script; words of the script quoted in the message have their control
// characters escaped.
class ScriptError : public std::runtime_error {
public:
    // what() reads "line LINE: message".
    ScriptError(int line, const std::string& message);
    int Line;
    std::string Message;
};

class SimScript {
public:
    // Hands each command of the script to `take` in order, as it is read, until `take` returns
    // false; raises ScriptError naming the first bad line (the commands before it were handed on).
    // Memory does not grow with the script.
    static void ForEach(std::string_view text, const std::function<bool(const SimCommand&)>& take);
    // Raises ScriptError naming the first bad line, or returns.
    static void Check(std::string_view text);
    // Every command at once; raises ScriptError naming the first bad line.
    static std::vector<SimCommand> Parse(std::string_view text);
    // The script that replays a demo exactly.
    static std::string FromDemo(const Demo& demo);

    // Key code of a virtual-key code (0 when no key has it), and the reverse.
    static int KeyCodeOf(int virtualKey);
};
