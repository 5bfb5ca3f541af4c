#include "display/DXDrawDriver.h"

#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectXErrors.h"
#include "platform/app/Application.h"

#include <algorithm>

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw& dxDraw)
    : dxDraw_(dxDraw), directDraw_(std::make_unique<TDirectDraw>(dxDraw.Platform())) {}

TDXDrawDriver::~TDXDrawDriver() {
    // Surfaces, clipper and palette go before the display object, which then returns
    // the screen to the mode it had before.
    backBuffer_.reset();
    primary_.reset();
    clipper_.reset();
    palette_.reset();
    directDraw_.reset();
}

void TDXDrawDriver::MakeSurfaces() {
    primary_ = std::make_unique<TDirectDrawSurface>(directDraw_.get());
    if (!primary_->CreateSurface(platform::SurfaceDesc{0, 0, true, false})) {
        throw EDXDrawError(FormatMessage(SCannotMade, std::string("Primary Surface")));
    }
    backBuffer_ = std::make_unique<TDirectDrawSurface>(directDraw_.get());

    clipper_ = std::make_unique<TDirectDrawClipper>(*directDraw_);
    clipper_->SetWindowBound();
    primary_->SetClipper(clipper_.get());

    // Entries 0..9 and 246..255 stay the system's unless the whole palette may be used.
    TDirectDrawPalette::Entries entries = dxDraw_.ColorTable;
    if (!HasOption(dxDraw_.EffectiveOptions(), doAllowPalette256)) {
        for (int i = 0; i < 256; ++i) {
            if (i < 10 || i >= 246) {
                entries[static_cast<std::size_t>(i)] = dxDraw_.DefaultColorTable[static_cast<std::size_t>(i)];
            }
        }
    }
    palette_ = std::make_unique<TDirectDrawPalette>(*directDraw_, entries);

    MakeBackBuffer();
}

void TDXDrawDriver::MakeBackBuffer() {
    backBuffer_->ReleaseSurface();
    dxDraw_.effectiveOptions_ &= static_cast<TDXDrawOptions>(~OptionBit(doSystemMemory));
    platform::SurfaceDesc desc{std::max(dxDraw_.SurfaceWidth(), 1), std::max(dxDraw_.SurfaceHeight(), 1), false,
                               HasOption(dxDraw_.Options(), doSystemMemory)};
    if (!backBuffer_->CreateSurface(desc)) {
        desc.SystemMemory = true;
        if (!backBuffer_->CreateSurface(desc)) {
            throw EDXDrawError(FormatMessage(SCannotMade, std::string("Surface")));
        }
    }
    if (!backBuffer_->ISurface()->InVideoMemory()) {
        dxDraw_.effectiveOptions_ |= OptionBit(doSystemMemory);
    }
    backBuffer_->FillWith(0);
}

void TDXDrawDriver::Present(TDXDrawOptions options) {
    const int originX = dxDraw_.Left(), originY = dxDraw_.Top();
    const int bw = backBuffer_->Width(), bh = backBuffer_->Height();
    TRect target;
    if (HasOption(options, doStretch)) {
        target = Bounds(originX, originY, dxDraw_.Width(), dxDraw_.Height());
    } else {
        target = Bounds(originX, originY, bw, bh);
        if (HasOption(options, doCenter)) {
            const int dx = (dxDraw_.Width() - bw) / 2, dy = (dxDraw_.Height() - bh) / 2;
            target = Bounds(originX + dx, originY + dy, bw, bh);
        }
    }
    if (HasOption(options, doWaitVBlank)) {
        directDraw_->Device().WaitForVerticalBlank();
    }
    primary_->DrawScaled(target, backBuffer_->FullRect(), backBuffer_.get(), false);
}
