#include "demo/ScreenHash.h"

#include "display/DXDraw.h"
#include "display/DirectDrawSurface.h"
#include "game/MainForm.h"
#include "platform/pixels/Surface.h"

uint64_t ScreenHash::Of(std::span<const uint8_t> bytes, uint64_t hash) {
    for (const uint8_t byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ull;
    }
    return hash;
}

uint64_t ScreenHash::OfForm(const TForm1& form) {
    const TDirectDrawSurface* primary = form.DXDraw ? form.DXDraw->PrimarySurface() : nullptr;
    const platform::Surface* surface = primary ? primary->ISurface() : nullptr;
    if (!surface) {
        return kEmpty;
    }
    // Surface memory holds its pixels little-endian already; rows are hashed without their padding.
    const auto rowBytes = static_cast<std::size_t>(surface->Width()) * surface->Format().BytesPerPixel();
    uint64_t hash = kEmpty;
    for (int y = 0; y < surface->Height(); ++y) {
        hash =
            Of(std::span<const uint8_t>(surface->Bits() + static_cast<std::ptrdiff_t>(y) * surface->Pitch(), rowBytes),
               hash);
    }
    return hash;
}
