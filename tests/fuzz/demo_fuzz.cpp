// Fuzz harness of the demo reader: any bytes are either read or refused with DemoError, never
// anything worse; a demo that reads comes back the same through the writer, and its simulator
// script reads too. It is then replayed by the rules alone as --verify does, and a short one also
// drawn, which must end in the same state.
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoVerifier.h"
#include "demo/DemoWriter.h"
#include "demo/SimScript.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Frames a fuzzed demo is replayed for by the rules alone, and the most drawn as well.
constexpr uint64_t kVerifiedFrames = 3000;
constexpr uint64_t kDrawnFrames = 300;

std::string FinalState(const Demo& demo, DemoPlayer::Mode mode) {
    DemoPlayer player(nullptr, demo, mode);
    if (!player.MakeForm()) {
        return "no game";
    }
    player.Play(false);
    return StateJson::Full(player.Form(), player.Frames(), 0);
}

void VerifyAndCompare(const Demo& demo) {
    DemoVerifier::Replay(demo, kVerifiedFrames);
    if (demo.FrameCount() <= kDrawnFrames &&
        FinalState(demo, DemoPlayer::Mode::Drawn) != FinalState(demo, DemoPlayer::Mode::RulesOnly)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bool replayed = false;
    for (const bool allowTruncated : {false, true}) {
        Demo demo;
        try {
            demo = DemoReader::Parse(text, allowTruncated);
        } catch (const DemoError&) {
            continue;
        }
        // Frames are compared once expanded: the writer may join runs the text kept apart.
        const Demo again = DemoReader::Parse(DemoWriter::Format(demo));
        if (again.FrameCount() != demo.FrameCount() || again.Arguments != demo.Arguments ||
            again.Levels != demo.Levels || again.Clock != demo.Clock) {
            std::abort();
        }
        // Scripts of huge repeat counts are long; the reader's limits keep them finite, the
        // harness keeps them small.
        if (demo.Frames.size() < 10000 && demo.FrameCount() < 1000000) {
            SimScript::Parse(SimScript::FromDemo(demo));
        }
        // A demo read whole reads the same when a cut is allowed: it is replayed once.
        if (!replayed) {
            VerifyAndCompare(demo);
            replayed = true;
        }
    }
    return 0;
}
