#include "demo/DemoCommands.h"

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoVerifier.h"
#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/LevelDigests.h"
#include "demo/RecordingPlatform.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/AtomicFile.h"

#include <iostream>
#include <memory>

namespace {

constexpr const char* kTitle = "Vorkalith";

// The main form made and added as the game's main does; null (the error shown) when it fails.
TForm1* MakeForm(TApplication& application) {
    application.SetTitle(kTitle);
    return CreateMainForm(application);
}

// A replay that ended before the demo did.
std::string EndedEarly(uint64_t frames, uint64_t demoFrames) {
    return Fill(Tr("the game ended at frame {} of the demo's {}: the replay went another way than the recording"),
                {std::to_string(frames), std::to_string(demoFrames)});
}

void PrintFinal(const TForm1& form, const FrameLoop& loop) {
    std::cout << StateJson::Final(form, loop.Frames(), ScreenHash::OfForm(form)) << std::endl;
}

} // namespace

std::string DemoUsageError(const std::string& playbackFile, bool headless, bool force, const std::string& recordFile) {
    if (playbackFile.empty() && headless) {
        return Tr("--headless needs --playback");
    }
    if (playbackFile.empty() && recordFile.empty() && force) {
        return Tr("--force needs --playback or --record");
    }
    return {};
}

int RecordGame(platform::Platform& live, const std::string& file, const std::vector<std::string>& arguments,
               bool replace, const std::optional<DemoDaily>& daily) {
    std::unique_ptr<DemoWriter> writer;
    try {
        writer = std::make_unique<DemoWriter>(file, replace);
    } catch (const platform::FileWriteError& e) {
        std::cerr << "vorkalith: " << e.what() << (e.TargetExists ? Tr(" (--force replaces it)") : "") << '\n';
        return 1;
    }
    writer->OnFailure = [](const std::string& message) { std::cerr << "vorkalith: " << message << std::endl; };
    int status = 0;
    {
        RecordingPlatform recorder(live, *writer, arguments, daily);
        TApplication application(recorder, arguments);
        TForm1* form = MakeForm(application);
        if (!form) {
            writer->Abandon();
            return 1;
        }
        FrameLoop loop(application);
        bool more = true;
        while (more) {
            recorder.BeginFrame();
            more = loop.Pass();
            recorder.EndFrame();
        }
        PrintFinal(*form, loop);
    }
    // A failure was reported when it happened.
    if (!writer->Close()) {
        status = 1;
    }
    return status;
}

int PlayDemo(platform::Platform* window, const std::string& file, bool force) {
    Demo demo;
    try {
        demo = DemoReader::ReadFile(file, force);
    } catch (const DemoError& e) {
        std::cerr << "vorkalith: " << e.what() << '\n';
        return 1;
    }
    // A demo may name thousands of files: the first few are named, the rest counted.
    constexpr std::size_t kNamed = 10;
    const std::vector<std::string> differing = LevelDigests::Differing(demo);
    for (std::size_t i = 0; i < differing.size() && i < kNamed; ++i) {
        std::cerr << "vorkalith: " << LevelDigests::DifferingMessage(differing[i]) << '\n';
    }
    if (differing.size() > kNamed) {
        std::cerr << "vorkalith: "
                  << Fill(Tr("and {} more level files differ"), {std::to_string(differing.size() - kNamed)}) << '\n';
    }
    if (!differing.empty() && !force) {
        std::cerr << "vorkalith: " << Tr("playback refused (--force plays it all the same)") << '\n';
        return 1;
    }

    DemoPlayer player(window, demo);
    if (!player.MakeForm()) {
        return 1;
    }
    player.Play(window != nullptr);
    std::cout << player.FinalState() << std::endl;
    if (player.EndedEarly()) {
        std::cerr << "vorkalith: " << EndedEarly(player.Frames(), demo.FrameCount()) << '\n';
        return 1;
    }
    return 0;
}

int VerifyDemo(const std::string& file) {
    Demo demo;
    Verification result;
    try {
        demo = DemoVerifier::Read(file);
        result = DemoVerifier::Replay(demo);
    } catch (const DemoError& e) {
        std::cerr << "vorkalith: " << DemoError(e.Line, e.Message, file).what() << '\n';
        return 1;
    }
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        std::cout << DemoVerifier::Json(result.Runs[i], i + 1) << '\n';
    }
    std::cout << std::flush;
    if (result.EndedEarly) {
        const std::string message = EndedEarly(result.Frames, demo.FrameCount());
        std::cerr << "vorkalith: " << DemoError(0, message, file).what() << '\n';
        return 1;
    }
    return 0;
}
