#include "display/DXDraw.h"

#include "display/DXDrawDriver.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectXErrors.h"
#include "platform/app/Application.h"

#include <algorithm>
#include <exception>

namespace {
constexpr TDXDrawOptions kRuntimeOptions = 0x80C8; // wait for blank, stretch, centre

TDXDrawOptions Without(TDXDrawOptions set, std::initializer_list<TDXDrawOption> options) {
    for (TDXDrawOption o : options) {
        set &= static_cast<TDXDrawOptions>(~OptionBit(o));
    }
    return set;
}

// Exclusive full screen (allowing mode X) when asked, with the window and reboot permissions
// of the options; the normal shared level otherwise.
uint32_t CooperativeLevel(TDXDrawOptions options) {
    if (!HasOption(options, doFullScreen)) {
        return platform::coop::Normal;
    }
    uint32_t level = platform::coop::FullScreen | platform::coop::Exclusive | platform::coop::AllowModeX;
    if (HasOption(options, doNoWindowChange)) {
        level |= platform::coop::NoWindowChanges;
    }
    if (HasOption(options, doAllowReboot)) {
        level |= platform::coop::AllowReboot;
    }
    return level;
}

// The display's colour table before any change: a 3-3-2 spread of red, green and blue.
std::array<uint32_t, 256> SystemPalette() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = ((i >> 5) & 7) * 255 / 7, g = ((i >> 2) & 7) * 255 / 7, b = (i & 3) * 255 / 3;
        table[i] = r | (g << 8) | (b << 16);
    }
    return table;
}
} // namespace

TCustomDXDraw::TCustomDXDraw(TComponent* owner) : TControl(owner) {
    ColorTable = SystemPalette();
    DefaultColorTable = ColorTable;
    UpdateEffectiveOptions();
}

TCustomDXDraw::~TCustomDXDraw() {
    try {
        Finalize();
    } catch (const std::exception&) {
        // A destructor cannot pass an error on; the surfaces are gone either way.
    }
    Notify(TDisplayNotice::Destroying);
    if (parentForm_ && hook_) {
        parentForm_->RemoveHook(hook_);
    }
}

platform::Platform& TCustomDXDraw::Platform() const {
    TApplication* app = FindApplication();
    if (!app) {
        throw EDXDrawError(SFormNotFound);
    }
    return app->Platform();
}

TDirectDraw* TCustomDXDraw::DDraw() const {
    return driver_ ? &driver_->DDraw() : nullptr;
}
TDirectDrawSurface* TCustomDXDraw::PrimarySurface() const {
    return driver_ ? driver_->PrimarySurface() : nullptr;
}
TDirectDrawSurface* TCustomDXDraw::BackBuffer() const {
    return driver_ ? driver_->BackBuffer() : nullptr;
}
TDirectDrawClipper* TCustomDXDraw::Clipper() const {
    return driver_ ? driver_->Clipper() : nullptr;
}
TDirectDrawPalette* TCustomDXDraw::Palette() const {
    return driver_ ? driver_->Palette() : nullptr;
}

void TCustomDXDraw::SetOptions(TDXDrawOptions options) {
    options_ = options;
    UpdateEffectiveOptions();
}

void TCustomDXDraw::UpdateEffectiveOptions() {
    TDXDrawOptions e;
    if (!initialized_) {
        e = options_;
        if (!HasOption(e, doFullScreen)) {
            e = Without(e, {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip});
        }
        if (!HasOption(e, do3D)) {
            e = Without(e, {doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer});
        }
        if (HasOption(e, doSystemMemory)) {
            e = Without(e, {doFlip});
        }
        if (HasOption(e, doDirectX7Mode)) {
            e = Without(e, {doRetainedMode});
        }
        e = Without(e, {doHardware});
    } else {
        e = static_cast<TDXDrawOptions>((effectiveOptions_ & ~kRuntimeOptions) | (options_ & kRuntimeOptions));
        if (!HasOption(e, do3D)) {
            e = Without(e, {doRetainedMode, doHardware, doSelectDriver, doZBuffer});
        }
    }
    effectiveOptions_ = e;
}

void TCustomDXDraw::RunEvent(const TNotifyEvent& event) {
    if (event) {
        event(this);
    }
}

void TCustomDXDraw::Initialize() {
    autoInitTried_ = true;
    Finalize();
    if (!parentForm_) {
        throw EDXDrawError(SFormNotFound);
    }
    try {
        RunEvent(OnInitializing);
        busy_ = true;
        driverMade_ = true;
        Notify(TDisplayNotice::Initializing);
        if (HasOption(effectiveOptions_, doFlip)) {
            driver_ = std::make_unique<TDXDrawDriverFlip>(*this);
        } else {
            driver_ = std::make_unique<TDXDrawDriverBlt>(*this);
        }
        driver_->DDraw().Device().SetCooperativeLevel(CooperativeLevel(effectiveOptions_));
        if (HasOption(effectiveOptions_, doFullScreen)) {
            const int32_t w = Display.Width(), h = Display.Height(), b = Display.BitCount();
            if (!Display.SetDisplayMode(driver_->DDraw())) {
                std::string message = SDisplayModeCannotChanged;
                message = FormatMessage(message, static_cast<long>(w));
                message = FormatMessage(message, static_cast<long>(h));
                message = FormatMessage(message, static_cast<long>(b));
                throw EDXDrawError(message);
            }
        }
        if (AutoSize) {
            surfaceWidth_ = Width();
            surfaceHeight_ = Height();
        }
        driver_->MakeSurfaces();
        busy_ = false;
        initialized_ = true;
        ++initDepth_;
    } catch (...) {
        busy_ = false;
        Finalize();
        throw;
    }
    try {
        Notify(TDisplayNotice::SizeChanged);
        Notify(TDisplayNotice::Initialized);
        initEventSent_ = true;
        RunEvent(OnInitialize);
        Notify(TDisplayNotice::SurfaceReady);
        surfaceReadySent_ = true;
        RunEvent(OnInitializeSurface);
    } catch (...) {
        --initDepth_;
        throw;
    }
    --initDepth_;
    Restore();
}

void TCustomDXDraw::Finalize() {
    if (!driverMade_) {
        return;
    }
    surfaceWidth_ = SurfaceWidth();
    surfaceHeight_ = SurfaceHeight();
    Display.ClearModes();
    busy_ = true;
    // Both notices reach every listener and the display is taken down whatever an event
    // handler or a listener raises on the way; the first error goes on to the caller.
    std::exception_ptr error;
    auto attempt = [&error](auto&& step) {
        try {
            step();
        } catch (...) {
            if (!error) {
                error = std::current_exception();
            }
        }
    };
    attempt([this] {
        if (surfaceReadySent_) {
            surfaceReadySent_ = false;
            RunEvent(OnFinalizeSurface);
        }
    });
    attempt([this] { Notify(TDisplayNotice::SurfaceFinalizing); });
    attempt([this] {
        if (initEventSent_) {
            initEventSent_ = false;
            RunEvent(OnFinalize);
        }
    });
    attempt([this] { Notify(TDisplayNotice::Finalizing); });
    driverMade_ = false;
    initialized_ = false;
    UpdateEffectiveOptions();
    driver_.reset();
    busy_ = false;
    if (error) {
        std::rethrow_exception(error);
    }
}

void TCustomDXDraw::Flip() {
    if (initialized_ && !busy_ && EnsureSurfaces()) {
        driver_->Present(effectiveOptions_);
    }
}

bool TCustomDXDraw::EnsureSurfaces() {
    if (!initialized_ || busy_ || !PrimarySurface() || !PrimarySurface()->ISurface()) {
        return false;
    }
    if (!PrimarySurface()->IsLost() && !BackBuffer()->IsLost()) {
        return true;
    }
    Restore();
    return !PrimarySurface()->IsLost() && !BackBuffer()->IsLost();
}

void TCustomDXDraw::Restore() {
    if (!initialized_ || busy_) {
        return;
    }
    busy_ = true;
    try {
        TDirectDrawSurface* primary = PrimarySurface();
        TDirectDrawSurface* back = BackBuffer();
        if (primary->Restore() && back->Restore()) {
            primary->FillWith(0);
            back->FillWith(0);
            if (TDirectDrawPalette* palette = Palette()) {
                palette->SetEntries(DefaultColorTable);
            }
            Notify(TDisplayNotice::Restored);
            RunEvent(OnRestoreSurface);
            if (TDirectDrawPalette* palette = Palette()) {
                palette->SetEntries(ColorTable);
            }
        }
    } catch (...) {
        busy_ = false;
        throw;
    }
    busy_ = false;
}

void TCustomDXDraw::AddListener(TDXDrawListener* listener) {
    listeners_.push_back(listener);
    listener->DXDrawNotify(*this, TDisplayNotice::SizeChanged);
    if (initialized_) {
        listener->DXDrawNotify(*this, TDisplayNotice::Initialized);
        if (surfaceReadySent_) {
            listener->DXDrawNotify(*this, TDisplayNotice::SurfaceReady);
        }
        if (initDepth_ == 0) {
            listener->DXDrawNotify(*this, TDisplayNotice::Restored);
        }
    }
}

void TCustomDXDraw::RemoveListener(TDXDrawListener* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end()) {
        return;
    }
    listeners_.erase(it);
    if (surfaceReadySent_) {
        listener->DXDrawNotify(*this, TDisplayNotice::SurfaceFinalizing);
    }
    if (initialized_) {
        listener->DXDrawNotify(*this, TDisplayNotice::Finalizing);
    }
}

void TCustomDXDraw::Notify(TDisplayNotice notice) {
    // Newest listener first. A listener may leave (or others may) while being told; one that
    // raises does not keep the others from hearing the notice, and its error goes on afterwards.
    std::vector<TDXDrawListener*> snapshot = listeners_;
    std::exception_ptr error;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (std::find(listeners_.begin(), listeners_.end(), *it) == listeners_.end()) {
            continue;
        }
        try {
            (*it)->DXDrawNotify(*this, notice);
        } catch (...) {
            if (!error) {
                error = std::current_exception();
            }
        }
    }
    if (error) {
        std::rethrow_exception(error);
    }
}

int32_t TCustomDXDraw::SurfaceWidth() const {
    TDirectDrawSurface* back = BackBuffer();
    return back && back->ISurface() ? back->Width() : surfaceWidth_;
}

int32_t TCustomDXDraw::SurfaceHeight() const {
    TDirectDrawSurface* back = BackBuffer();
    return back && back->ISurface() ? back->Height() : surfaceHeight_;
}

void TCustomDXDraw::SetSurfaceSize(int32_t width, int32_t height) {
    if (Loading()) {
        surfaceWidth_ = width;
        surfaceHeight_ = height;
        return;
    }
    if ((width == SurfaceWidth() && height == SurfaceHeight()) || busy_) {
        return;
    }
    if (initialized_) {
        surfaceWidth_ = std::max(width, 1);
        surfaceHeight_ = std::max(height, 1);
        // Busy keeps a paint or a further resize raised meanwhile from acting.
        busy_ = true;
        ++initDepth_;
        try {
            Notify(TDisplayNotice::SurfaceFinalizing);
            if (surfaceReadySent_) {
                surfaceReadySent_ = false;
                RunEvent(OnFinalizeSurface);
            }
            driver_->MakeBackBuffer();
            Notify(TDisplayNotice::SurfaceReady);
            surfaceReadySent_ = true;
            RunEvent(OnInitializeSurface);
        } catch (...) {
            --initDepth_;
            busy_ = false;
            Finalize();
            throw;
        }
        --initDepth_;
        busy_ = false;
    } else {
        surfaceWidth_ = width;
        surfaceHeight_ = height;
    }
    Notify(TDisplayNotice::SizeChanged);
}

void TCustomDXDraw::Loaded() {
    TControl::Loaded();
    if (AutoSize) {
        surfaceWidth_ = Width();
        surfaceHeight_ = Height();
    }
    Notify(TDisplayNotice::SizeChanged);
    if (AutoInitialize && !Designing() && hook_ == 0) {
        Initialize();
    }
}

void TCustomDXDraw::Paint() {
    if (initialized_ && !busy_ && EnsureSurfaces()) {
        driver_->Present(static_cast<TDXDrawOptions>(effectiveOptions_ & ~OptionBit(doWaitVBlank)));
    }
}

void TCustomDXDraw::WindowRecreated() {
    if (!initialized_) {
        return;
    }
    if (TDirectDrawClipper* clipper = Clipper()) {
        clipper->SetWindowBound();
    }
    driver_->DDraw().Device().SetCooperativeLevel(CooperativeLevel(effectiveOptions_));
}

void TCustomDXDraw::ParentChanged(TForm* oldParent) {
    if (oldParent && hook_) {
        oldParent->RemoveHook(hook_);
        hook_ = 0;
    }
    parentForm_ = Parent();
    if (parentForm_) {
        hook_ = parentForm_->AddHook([this](TFormMessage message) { FormMessage(message); });
    }
}

void TCustomDXDraw::BoundsChanged() {
    if (AutoSize && !busy_) {
        SetSurfaceSize(Width(), Height());
    }
}

void TCustomDXDraw::FormMessage(TFormMessage message) {
    switch (message) {
    case TFormMessage::Shown:
        if (AutoInitialize && !autoInitTried_) {
            Initialize();
        }
        break;
    case TFormMessage::WindowDestroyed:
        Finalize();
        break;
    case TFormMessage::WindowCreated:
        WindowRecreated();
        break;
    case TFormMessage::Activated:
    case TFormMessage::Deactivated:
    case TFormMessage::MenuOpened:
        // Full screen with page flipping would show the desktop surface here; the emulated
        // display has a single page, so there is nothing to do.
        break;
    }
}
