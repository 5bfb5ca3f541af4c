#include "platform/TextRenderer.h"

namespace platform {

namespace {
// Placeholder until the font renderer lands: draws nothing.
class NullTextRenderer : public TextRenderer {
public:
    void Draw(Surface&, int, int, std::string_view, const FontSpec&, Rgb, const Rgb*) override {}
    TextSize Measure(std::string_view, const FontSpec&) override { return {}; }
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static NullTextRenderer renderer;
    return renderer;
}

} // namespace platform
