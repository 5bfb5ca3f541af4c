#include "server/VerifyChild.h"

#include "demo/DemoReader.h"
#include "demo/DemoVerifier.h"
#include "demo/JsonText.h"
#include "game/LevelFolder.h"

#include <ostream>

namespace {

// What kind of refusal a demo error is: the verifier names caps and level files in the messages
// of its checks, which read the file as a whole (line 0); damage has its line.
const char* KindOf(const DemoError& error) {
    if (error.Line > 0) {
        return "damaged";
    }
    const std::string& message = error.Message;
    if (message.starts_with("too large to verify") || message.starts_with("too long to verify")) {
        return "cap";
    }
    if (message.starts_with("a level line names") || message.starts_with("demo was recorded with another")) {
        return "levels";
    }
    return "damaged";
}

} // namespace

int VerifyChild::Run(const std::string& demoPath, const std::string& levelsDir, std::ostream& out) {
    LevelFolder::Use(levelsDir);
    try {
        const Demo demo = DemoVerifier::Read(demoPath);
        const Verification result = DemoVerifier::Replay(demo);
        for (std::size_t i = 0; i < result.Runs.size(); ++i) {
            out << DemoVerifier::Json(result.Runs[i], i + 1) << '\n';
        }
        out << jsontext::Object()
                   .Add("Frames", static_cast<long long>(result.Frames))
                   .Add("DemoFrames", static_cast<long long>(demo.FrameCount()))
                   .Add("EndedEarly", result.EndedEarly ? "true" : "false")
                   .Text()
            << '\n';
    } catch (const DemoError& e) {
        out << jsontext::Object()
                   .Add("Error", jsontext::Quote(KindOf(e)))
                   .Add("Line", e.Line)
                   .Add("Message", jsontext::Quote(e.Message))
                   .Text()
            << '\n';
    }
    out.flush();
    return out ? 0 : 1;
}
