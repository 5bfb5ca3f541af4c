// Fuzz harness of the demo reader: any bytes are either read or refused with DemoError, never
// anything worse; a demo that reads comes back the same through the writer, and its simulator
// script reads too.
#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"
#include "demo/SimScript.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
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
    }
    return 0;
}
