#pragma once

#include "platform/text/GlyphBlender.h"

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

// The coverage of rendered text: one byte per pixel, 0 for none and 255 for full.
struct CoverageImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha;
};

// The image as coverage for BlendGlyphs.
inline GlyphCoverage AsGlyphCoverage(const CoverageImage& image) {
    return GlyphCoverage{image.Alpha.data(), image.Width, image.Height, 1, image.Width};
}

// The most recently drawn text images, so that a string drawn every frame is rendered once. Keys
// name the font, size, style and text; the colour is applied when the coverage is laid down, so
// it needs no key of its own. Bounded both in entries and in the size of one image.
class TextImageCache {
public:
    static constexpr std::size_t kEntries = 64;
    static constexpr std::size_t kLargestImage = 1u << 20;

    // The image kept under `key`, made the most recent; nullptr when there is none.
    const CoverageImage* Find(const std::string& key);
    // Keeps `image` under `key` unless it is larger than kLargestImage pixels, dropping the least
    // recently used entry when full; returns the image as kept (or as given when not kept).
    const CoverageImage& Add(const std::string& key, CoverageImage image);
    std::size_t Size() const { return order_.size(); }

private:
    using Entry = std::pair<std::string, CoverageImage>;
    std::list<Entry> order_; // most recent first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    CoverageImage uncached_;
};

} // namespace platform
