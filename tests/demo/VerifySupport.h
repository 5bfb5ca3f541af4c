#pragma once

#include "demo/HeadlessSession.h"
#include "demo/RunTracker.h"

#include <filesystem>
#include <string>
#include <vector>

// Copies the installed levels, as the build compiled them, into `folder`.
inline void CopyInstalledLevels(const std::filesystem::path& folder) {
    for (int n = 1; n <= 24; ++n) {
        const std::string name = std::to_string(n) + ".vrk";
        std::filesystem::copy_file(std::filesystem::path(VK_RUN_DIR) / name, folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

// What a test session does: inputs, then a number of frames.
struct SessionStep {
    std::vector<DemoInput> Inputs;
    long long Frames = 1;
};

// Starts a game from the menu: the pointer on "Старт" while the title comes down, then a click.
inline std::vector<SessionStep> StartGame() {
    using K = DemoInput::Kind;
    return {{{{K::MouseMove, 320, 240}}, 2}, {{{K::MouseDown, 320, 240, 1}}, 1}, {{{K::MouseUp, 320, 240, 1}}, 1}};
}

// Plays the steps in a headless session made from `start`; the state line at the end.
inline std::string PlaySession(const SessionStart& start, const std::vector<SessionStep>& steps) {
    HeadlessSession session(start);
    if (!session.MakeForm()) {
        return "the game cannot start";
    }
    for (const SessionStep& step : steps) {
        for (const DemoInput& input : step.Inputs) {
            session.Apply(input);
        }
        session.Frames(step.Frames);
    }
    const std::string state = session.State();
    session.CloseDemo();
    return state;
}
