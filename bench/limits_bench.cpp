// Time to refuse oversized input: a stored picture block that declares 16384 x 16384 pixels at
// one bit (a whole 32 MB block) must be turned away on its header, and a 4096 x 4096 picture
// cut into 1 x 1 patterns before any surface is made. The accepted 640 x 480 picture beside
// them shows what reading an ordinary picture costs.
#include "display/DIB.h"
#include "display/PictureCollection.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void U32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// A stored TDIB block of w x h pixels with all its rows.
Bytes StoredPicture(int32_t w, int32_t h, int bits) {
    Bytes b{4, 'T', 'D', 'I', 'B'};
    U32(b, 40);
    U32(b, static_cast<uint32_t>(w));
    U32(b, static_cast<uint32_t>(h));
    U32(b, 1u | (static_cast<uint32_t>(bits) << 16));
    for (int i = 0; i < 6; ++i) {
        U32(b, 0);
    }
    if (bits == 1) {
        U32(b, 0);
        U32(b, 0xFFFFFF);
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    b.resize(b.size() + rowBytes * static_cast<std::size_t>(h), 0x55);
    return b;
}

void Read(benchmark::State& state, const Bytes& block) {
    for (auto _ : state) {
        TPicture picture;
        try {
            picture.LoadFromStoredData(block.data(), block.size());
        } catch (const std::exception&) {
        }
        benchmark::DoNotOptimize(picture);
    }
}

void BM_RefuseHugeOneBitPicture(benchmark::State& state) {
    Read(state, StoredPicture(16384, 16384, 1));
}
BENCHMARK(BM_RefuseHugeOneBitPicture)->Unit(benchmark::kMillisecond);

void BM_ReadTitlePicture(benchmark::State& state) {
    Read(state, StoredPicture(640, 480, 24));
}
BENCHMARK(BM_ReadTitlePicture)->Unit(benchmark::kMillisecond);

void BM_RefuseMillionsOfPatterns(benchmark::State& state) {
    TPictureCollection list;
    TPictureCollectionItem& item = list.Add();
    platform::RgbImage image;
    image.Width = image.Height = 4096;
    image.Pixels.resize(std::size_t{4096} * 4096);
    TPicture picture;
    picture.SetGraphic(std::make_unique<TDIB>(std::move(image)));
    item.SetPicture(picture);
    item.PatternWidth = item.PatternHeight = 1;
    for (auto _ : state) {
        try {
            item.CheckPatternLimit();
        } catch (const std::exception&) {
        }
    }
}
BENCHMARK(BM_RefuseMillionsOfPatterns)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
